#pragma once

// Waits that only the player can end: a screen that runs until a key is
// pressed, a pause, keys still held from the screen before. Such a loop
// names itself while it runs, so that a scripted test whose script has
// nothing more to give (no key, no message) fails there within a second of
// its virtual time, naming the wait, instead of waiting forever as a real
// program would.

namespace platform {

class InputWait {
  public:
    // `name` says what waits, such as "the pause"; it must outlive the wait.
    explicit InputWait(const char* name);
    ~InputWait();
    InputWait(const InputWait&) = delete;
    InputWait& operator=(const InputWait&) = delete;

  private:
    const char* outer_;
};

// The innermost input wait running now; null when none is.
const char* input_wait_name();

} // namespace platform
