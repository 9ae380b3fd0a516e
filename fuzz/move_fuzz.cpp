// Fuzz target: the move codec takes a move from outside only in its one exact spelling, and
// what it takes is a real move that encodes back to the same text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "move.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

void CheckForm(std::string_view text, gd::MoveForm form) {
    const auto move = gd::DecodeMove(text, form);
    if (!move) return;
    Require(move->letter >= 'a' && move->letter <= 'z');
    Require(move->hole >= 0 && move->hole <= 41);
    Require(gd::EncodeMove(*move, form) == text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CheckForm(text, gd::MoveForm::Payload);
    CheckForm(text, gd::MoveForm::LanMessage);
    return 0;
}
