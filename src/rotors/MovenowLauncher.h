#pragma once

#include <QString>

// The values the Windows shell answers when it cannot open a program; the KCT
// warning shows them, so users of both systems read the same numbers.
namespace ShellError {
inline constexpr int FileNotFound = 2;
inline constexpr int AccessDenied = 5;
inline constexpr int NoProgramToRunIt = 31;
} // namespace ShellError

struct ShellProgram {
    QString path;  // the file to start; empty when error is set
    int error = 0; // 0, or one of ShellError
};

// The file the Windows shell would open for programFile: the name as given,
// then with ".com", ".exe", ".bat" and ".cmd" appended; the first that exists
// decides. It must be executable: a bare name that is not has nothing to run
// it, a program file that is not may not be run. Looks at the file system only.
ShellProgram resolveShellProgram(const QString &programFile);

// Starts the outside KCT program once per command.
class MovenowLauncher {
public:
    virtual ~MovenowLauncher() = default;

    // Starts programFile with the blank-separated parameters and returns at
    // once, without waiting for the program's run: 0 when it was started,
    // otherwise one of ShellError.
    virtual int start(const QString &programFile, const QString &parameters) = 0;
};

class ProcessMovenowLauncher final : public MovenowLauncher {
public:
    int start(const QString &programFile, const QString &parameters) override;
};
