// The eight event sounds: soft synthesised tones with smooth envelopes.
#include <algorithm>
#include <cmath>

#include "art.h"

namespace gdart {
namespace {

constexpr double kPi = 3.14159265358979323846;

// A mixing buffer of floating-point samples, turned into 16-bit PCM at the end.
struct Buffer {
    std::vector<double> s;
    explicit Buffer(double seconds) : s(static_cast<std::size_t>(seconds * kSampleRate), 0.0) {}
};

// A bell-like note: a sine with a quiet octave, a short attack and an exponential decay.
void Note(Buffer& b, double start, double length, double frequency, double volume,
          double decay = 6.0) {
    const std::size_t first = static_cast<std::size_t>(start * kSampleRate);
    const std::size_t count = static_cast<std::size_t>(length * kSampleRate);
    for (std::size_t i = 0; i < count && first + i < b.s.size(); ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double attack = std::min(1.0, t / 0.008);
        const double release = std::min(1.0, (length - t) / 0.03);  // no click at the end
        const double envelope = attack * std::max(0.0, release) * std::exp(-decay * t);
        const double phase = 2 * kPi * frequency * t;
        b.s[first + i] += volume * envelope * (std::sin(phase) + 0.18 * std::sin(2 * phase));
    }
}

// A "plop": a sine whose pitch falls quickly, like a drop landing in water.
void Plop(Buffer& b, double from, double to, double length, double volume, double tick) {
    double phase = 0;
    const std::size_t count = std::min(b.s.size(), static_cast<std::size_t>(length * kSampleRate));
    Random noise(7);
    for (std::size_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double frequency = to + (from - to) * std::exp(-t * 28);
        phase += 2 * kPi * frequency / kSampleRate;
        const double envelope = std::min(1.0, t / 0.004) * std::exp(-t * 22) *
                                std::max(0.0, std::min(1.0, (length - t) / 0.02));
        const double click =
            tick * noise.Range(-1, 1) * std::min(1.0, t / 0.002) * std::exp(-t * 400);
        b.s[i] += volume * envelope * std::sin(phase) + click;
    }
}

std::vector<std::int16_t> ToPcm(const Buffer& b) {
    std::vector<std::int16_t> out;
    out.reserve(b.s.size());
    for (double v : b.s) {
        const double clipped = std::clamp(v, -1.0, 1.0);
        out.push_back(static_cast<std::int16_t>(std::lround(clipped * 32000)));
    }
    return out;
}

// Note frequencies of the equal-tempered scale.
constexpr double C5 = 523.25, E5 = 659.25, G5 = 783.99, A5 = 880.0, C6 = 1046.5, E6 = 1318.5,
                 G6 = 1568.0, D5 = 587.33;

std::vector<std::int16_t> SystemMessage() {
    Buffer b(0.5);
    Note(b, 0.0, 0.5, E5, 0.32);
    Note(b, 0.12, 0.38, A5, 0.30);
    return ToPcm(b);
}

std::vector<std::int16_t> IncomingChat() {
    Buffer b(0.4);
    Note(b, 0.00, 0.40, C6, 0.22, 9);
    Note(b, 0.07, 0.33, E6, 0.22, 9);
    Note(b, 0.14, 0.26, G6, 0.20, 9);
    return ToPcm(b);
}

std::vector<std::int16_t> ChatSent() {
    Buffer b(0.28);
    Note(b, 0.00, 0.28, G5, 0.28, 12);
    Note(b, 0.08, 0.20, C5, 0.28, 12);
    return ToPcm(b);
}

std::vector<std::int16_t> OwnDrop() {
    Buffer b(0.18);
    Plop(b, 900, 260, 0.18, 0.6, 0.05);
    return ToPcm(b);
}

std::vector<std::int16_t> OpponentDrop() {
    Buffer b(0.22);
    Plop(b, 620, 170, 0.22, 0.6, 0.09);
    return ToPcm(b);
}

std::vector<std::int16_t> GameReady() {
    Buffer b(0.6);
    Note(b, 0.00, 0.60, C5, 0.22, 5);
    Note(b, 0.10, 0.50, E5, 0.22, 5);
    Note(b, 0.20, 0.40, G5, 0.22, 5);
    Note(b, 0.30, 0.30, C6, 0.24, 5);
    return ToPcm(b);
}

std::vector<std::int16_t> GameOver() {
    Buffer b(0.6);
    Note(b, 0.00, 0.60, G5, 0.24, 5);
    Note(b, 0.13, 0.47, E5, 0.24, 5);
    Note(b, 0.26, 0.34, D5, 0.22, 5);
    Note(b, 0.36, 0.24, C5, 0.26, 4);
    return ToPcm(b);
}

// A low, soft buzz: a few odd harmonics of a low note with a gentle tremolo.
std::vector<std::int16_t> PlayError() {
    Buffer b(0.35);
    const double length = 0.35;
    for (std::size_t i = 0; i < b.s.size(); ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double envelope = std::min(1.0, t / 0.02) * std::min(1.0, (length - t) / 0.08);
        const double tremolo = 0.8 + 0.2 * std::sin(2 * kPi * 18 * t);
        const double phase = 2 * kPi * 110 * t;
        const double tone =
            std::sin(phase) + 0.35 * std::sin(3 * phase) + 0.15 * std::sin(5 * phase);
        b.s[i] = 0.22 * envelope * tremolo * tone;
    }
    return ToPcm(b);
}

}  // namespace

const std::vector<Sound>& Sounds() {
    static const std::vector<Sound> sounds = {
        {"sysmess.wav", SystemMessage}, {"incoming.wav", IncomingChat}, {"sent.wav", ChatSent},
        {"dropped.wav", OwnDrop},       {"dropped2.wav", OpponentDrop}, {"begin.wav", GameReady},
        {"app.wav", GameOver},          {"missed.wav", PlayError},
    };
    return sounds;
}

}  // namespace gdart
