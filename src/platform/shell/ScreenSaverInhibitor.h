#pragma once

#include <cstdint>

// Keeps the screen saver off while held, through the freedesktop ScreenSaver service when the
// session has one; otherwise it does nothing. UI thread only.
class ScreenSaverInhibitor
{
  public:
    ScreenSaverInhibitor() = default;
    ~ScreenSaverInhibitor() { Release(); }
    ScreenSaverInhibitor(const ScreenSaverInhibitor &) = delete;
    ScreenSaverInhibitor &operator=(const ScreenSaverInhibitor &) = delete;

    // True when the service accepted the request (or it was already held).
    bool Inhibit(const char *reason);
    void Release();
    bool Active() const { return cookie_ != 0; }

  private:
    uint32_t cookie_ = 0;
};
