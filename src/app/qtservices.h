// The real services behind the rules' interfaces: sound through Qt Multimedia, the one-second
// pause, the clock-seeded random generator and the message boxes.
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <random>

#include "services.h"

class QSoundEffect;

namespace gd {

// Plays WAV files asynchronously; a new sound cuts the one still playing. With no audio
// device the effect is never created, so nothing can wait on a missing sound system.
class QtSoundPlayer : public SoundPlayer {
  public:
    QtSoundPlayer();
    ~QtSoundPlayer() override;
    void Play(const std::string& file) override;

  private:
    bool haveDevice_ = false;
    std::unique_ptr<QSoundEffect> effect_;
};

// Shows what has changed, then waits about a second on the monotonic clock as every handler
// waits: the windows paint, but no input and no timer's tick reaches the game meanwhile.
class QtPauser : public Pauser {
  public:
    QtPauser(Clock& clock, std::function<void()> repaint, int milliseconds = 1000);
    void Pause() override;

  private:
    Clock& clock_;
    std::function<void()> repaint_;
    int milliseconds_;
};

// One Mersenne Twister seeded from the clock. Reseeding mixes the clock into the generator's
// own state, so two reseeds within one clock tick still give different draws.
class ClockRandom : public RandomSource {
  public:
    ClockRandom();
    void Reseed() override;
    double Next() override;

  private:
    std::mt19937 engine_;
};

// Message boxes and the input box, over the window the user is looking at. Each is a wait
// whose input goes to the box alone.
class QtPrompter : public Prompter {
  public:
    explicit QtPrompter(std::function<QWidget*()> parent);
    void Message(const std::string& text, const std::string& title) override;
    bool YesNo(const std::string& text, const std::string& title) override;
    std::optional<std::string> Input(const std::string& text, const std::string& title,
                                     const std::string& initial) override;

  private:
    std::function<QWidget*()> parent_;
};

}  // namespace gd
