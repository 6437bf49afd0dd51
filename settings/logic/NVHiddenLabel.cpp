#include "settings/logic/NVHiddenLabel.h"

namespace {

// Kept with every byte XORed with 0x80, so that it is not a plain string of the binary.
constexpr unsigned char kCredits[NV_CREDITS_LEN] = {0xCE, 0xF5, 0xF6, 0xF2, 0xEF, 0xA0, 0xD4, 0xE5, 0xE3, 0xE8, 0xEE, 0xEF, 0xEC, 0xEF, 0xE7, 0xF9, 0xA0, 0xA0, 0xE4, 0xF2, 0xE9, 0xF6, 0xE5, 0xF2, 0xF3, 0xA0, 0xE2, 0xF9, 0xA0, 0xF4, 0xE8, 0xE5, 0xA0, 0xF4, 0xE1, 0xE2, 0xEC, 0xE5, 0xF4, 0xA0, 0xF4, 0xE5, 0xE1, 0xED};

} // namespace

std::string nv_credits_text()
{
    std::string text(NV_CREDITS_LEN, '\0');
    for (size_t i = 0; i < NV_CREDITS_LEN; ++i)
        text[i] = static_cast<char>(kCredits[i] ^ 0x80);
    return text;
}

NVHiddenLabel NVHiddenLabelKeys::keyDown(std::string_view chars, bool control)
{
    if (!control)
        return NVHiddenLabel::None;
    typed_ += chars;
    if (typed_ == "qzk") {
        typed_.clear();
        return NVHiddenLabel::Firmware;
    }
    if (typed_ == "wbxto") {
        typed_.clear();
        return NVHiddenLabel::Credits;
    }
    return NVHiddenLabel::None;
}

std::string nv_hidden_label_text(NVHiddenLabel which, std::string_view firmware)
{
    switch (which) {
    case NVHiddenLabel::Firmware:
        return std::string(firmware);
    case NVHiddenLabel::Credits:
        return nv_credits_text() + "  " + std::string(firmware);
    case NVHiddenLabel::None:
        break;
    }
    return {};
}
