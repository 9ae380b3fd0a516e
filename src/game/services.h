// The small interfaces through which the rules reach sound, pauses, random draws, message
// boxes and the other subsystems, so that tests can decide every answer.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace gd {

// Sound events in the order the profile stores their files.
enum class SoundEvent {
    IncomingSystemMessage = 0,
    IncomingChatMessage,
    ChatMessageSent,
    YourPieceDrop,
    OpponentPieceDrop,
    GameReady,
    GameOverSound,
    GamePlayError,
};

// Starts a WAV file playing without waiting; a new sound cuts the one still playing. A missing
// file or sound device is silence.
class SoundPlayer {
  public:
    virtual ~SoundPlayer() = default;
    virtual void Play(const std::string& file) = 0;
};

// The one-second pause inside a move: repaint, then wait without taking input.
class Pauser {
  public:
    virtual ~Pauser() = default;
    virtual void Pause() = 0;
};

// The random generator. `Reseed` mixes the clock in, as the game does before each draw;
// `Next` gives a number in [0, 1).
class RandomSource {
  public:
    virtual ~RandomSource() = default;
    virtual void Reseed() = 0;
    virtual double Next() = 0;
};

// The clock: the time of day for the values compared with it (a host's wait expiry), and a
// monotonic count for every pause and duration, so nothing breaks at midnight.
class Clock {
  public:
    virtual ~Clock() = default;
    // Seconds since midnight, with a fraction.
    virtual double TimeOfDay() = 0;
    // Milliseconds on a clock that never jumps or wraps.
    virtual std::int64_t MonotonicMs() = 0;
};

// The system's clocks: local time of day, and the steady clock for durations.
class SystemClock : public Clock {
  public:
    double TimeOfDay() override;
    std::int64_t MonotonicMs() override;
};

// Modal message boxes and the input box.
class Prompter {
  public:
    virtual ~Prompter() = default;
    virtual void Message(const std::string& text, const std::string& title) = 0;
    virtual bool YesNo(const std::string& text, const std::string& title) = 0;
    virtual std::optional<std::string> Input(const std::string& text, const std::string& title,
                                             const std::string& initial) = 0;
};

enum class GameOutcome { Win, Loss, Tie };

// Where a finished game is counted: one game on the named profile, from that profile's side.
class ResultBook {
  public:
    virtual ~ResultBook() = default;
    virtual void Record(const std::string& name, GameOutcome outcome) = 0;
};

// Where the rules reach the windows. Every hook defaults to nothing.
class GameHooks {
  public:
    virtual ~GameHooks() = default;
    // Shows the game-over window without waiting for it.
    virtual void ShowPlayMore() {}
    // Shows one hole at once, before a pause.
    virtual void RepaintHole(int /*hole*/) {}
    // Ends the program at once, asking nothing; called through `EndProgramNow`.
    virtual void EndProgram() {}
};

// Everything the rules need from outside the state, passed by reference alongside it.
struct Services {
    SoundPlayer& sound;
    Pauser& pause;
    RandomSource& random;
    Prompter& prompt;
    GameHooks& hooks;
    Clock& clock;
};

}  // namespace gd
