#pragma once

// What the angle dialog needs of the main window, which implements it.
class AngleDialogHost {
public:
    virtual ~AngleDialogHost() = default;
    // Sets the azimuth stepper, running the main window's change handling.
    virtual void setStepperPosition(int azimuth) = 0;
    virtual bool isAutoOn() const = 0;
    // Performs the GO exactly as a click on the MAN button does.
    virtual void performGo() = 0;
    virtual void setAngleEchoSuppressed(bool suppressed) = 0;
};
