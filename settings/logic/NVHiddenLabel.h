// The info page's hidden labels: letters typed with Control held accumulate, and two
// exact words show the firmware text or the credits in the company label. A wrong letter
// makes the words unreachable until the page is made again.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

enum class NVHiddenLabel { None, Firmware, Credits };

constexpr size_t NV_CREDITS_LEN = 44;

// The credits, decoded.
std::string nv_credits_text();

class NVHiddenLabelKeys {
public:
    // chars: the key's characters without modifiers. Presses without Control are ignored.
    NVHiddenLabel keyDown(std::string_view chars, bool control);
    const std::string& typed() const { return typed_; }

private:
    std::string typed_;
};

// What the company label shows for a matched word: the firmware text, or the credits,
// two spaces and the firmware text.
std::string nv_hidden_label_text(NVHiddenLabel which, std::string_view firmware);
