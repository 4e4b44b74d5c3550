#pragma once

// The desktop sound theme's event sounds ("dialog-warning" ...) through
// libcanberra, opened at the first sound rather than linked: most runs play none,
// and the library brings a dozen more (Vorbis, Ogg, TDB) with it. Without the
// library or a sound server, play() says so and the caller beeps instead.
class ThemeSounds {
public:
    ThemeSounds() = default;
    ~ThemeSounds();
    ThemeSounds(const ThemeSounds &) = delete;
    ThemeSounds &operator=(const ThemeSounds &) = delete;

    // False when the sound could not be started.
    bool play(const char *eventId);

private:
    bool open();

    // From libcanberra, once open() succeeded.
    int (*m_contextDestroy)(void *context) = nullptr;
    int (*m_contextPlay)(void *context, unsigned id, ...) = nullptr;
    void *m_context = nullptr;
    bool m_tried = false;
};
