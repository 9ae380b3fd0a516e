// Sound, pause, random and message-box services for the running program.
#include "qtservices.h"

#include <QAudioDevice>
#include <QFileInfo>
#include <QInputDialog>
#include <QMediaDevices>
#include <QMessageBox>
#include <QSoundEffect>
#include <QUrl>
#include <chrono>

#include "files.h"
#include "qtext.h"
#include "waiting.h"

namespace gd {

QtSoundPlayer::QtSoundPlayer() : haveDevice_(!QMediaDevices::audioOutputs().isEmpty()) {}

QtSoundPlayer::~QtSoundPlayer() = default;

void QtSoundPlayer::Play(const std::string& file) {
    if (!haveDevice_) return;
    if (!effect_) effect_ = std::make_unique<QSoundEffect>();
    effect_->stop();
    const std::string path = FindFileNoCase(file);
    if (file.empty() || !FileExists(path)) return;
    effect_->setSource(QUrl::fromLocalFile(QFileInfo(ToQ(path)).absoluteFilePath()));
    effect_->play();
}

QtPauser::QtPauser(Clock& clock, std::function<void()> repaint, int milliseconds)
    : clock_(clock), repaint_(std::move(repaint)), milliseconds_(milliseconds) {}

void QtPauser::Pause() {
    if (repaint_) repaint_();
    const std::int64_t start = clock_.MonotonicMs();
    WaitWhile([&] { return clock_.MonotonicMs() - start < milliseconds_; }, 5);
}

namespace {

std::uint32_t ClockBits() {
    const auto now = std::chrono::system_clock::now().time_since_epoch().count();
    const auto tick = std::chrono::steady_clock::now().time_since_epoch().count();
    return static_cast<std::uint32_t>(now) ^ static_cast<std::uint32_t>(now >> 32) ^
           static_cast<std::uint32_t>(static_cast<std::uint64_t>(tick) * 2654435761u);
}

}  // namespace

ClockRandom::ClockRandom() : engine_(ClockBits()) {}

void ClockRandom::Reseed() {
    std::seed_seq seq{ClockBits(), static_cast<std::uint32_t>(engine_()),
                      static_cast<std::uint32_t>(engine_())};
    engine_.seed(seq);
}

double ClockRandom::Next() {
    // 53 random bits scaled into [0, 1): never 1.0, which would draw a 27th letter.
    const std::uint64_t high = engine_() >> 5, low = engine_() >> 6;
    return static_cast<double>(high * 67108864ull + low) / 9007199254740992.0;
}

QtPrompter::QtPrompter(std::function<QWidget*()> parent) : parent_(std::move(parent)) {}

void QtPrompter::Message(const std::string& text, const std::string& title) {
    QMessageBox box(QMessageBox::NoIcon, ToQ(title), ToQ(text), QMessageBox::Ok, parent_());
    const WaitScope wait(&box);
    box.exec();
}

bool QtPrompter::YesNo(const std::string& text, const std::string& title) {
    QMessageBox box(QMessageBox::Question, ToQ(title), ToQ(text),
                    QMessageBox::Yes | QMessageBox::No, parent_());
    const WaitScope wait(&box);
    return box.exec() == QMessageBox::Yes;
}

std::optional<std::string> QtPrompter::Input(const std::string& text, const std::string& title,
                                             const std::string& initial) {
    QInputDialog box(parent_());
    box.setWindowTitle(ToQ(title));
    box.setLabelText(ToQ(text));
    box.setTextValue(ToQ(initial));
    const WaitScope wait(&box);
    if (box.exec() != QDialog::Accepted) return std::nullopt;
    return FromQ(box.textValue());
}

}  // namespace gd
