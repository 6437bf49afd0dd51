#include "settings/logic/NVShortcut.h"

#include "settings/logic/NVKeys.h"

#include <charconv>
#include <map>

namespace {

std::map<int, NVShortcutRegistryCheck>& registry()
{
    static std::map<int, NVShortcutRegistryCheck> checks;
    return checks;
}

bool parse_decimal(std::string_view s, uint64_t& out)
{
    if (s.empty())
        return false;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc() && end == s.data() + s.size();
}

} // namespace

NVShortcut NVShortcut::shortcutWithKeyCode(uint16_t keyCode, uint32_t modifiers)
{
    NVShortcut s;
    s.keyCode = keyCode;
    s.keyModifierFlags = NVKeyMaskUtils::NVPickCocoaModifiers(modifiers);
    const NVModifierKeys keys = NVKeyMaskUtils::ModifiersFlags2Keys(s.keyModifierFlags);
    s.hasControlKey = keys.control;
    s.hasOptionKey = keys.option;
    s.hasShiftKey = keys.shift;
    s.hasCommandKey = keys.command;
    return s;
}

NVShortcut NVShortcut::shortcutWithKeyCode(uint16_t keyCode, bool control, bool option, bool shift, bool command)
{
    return shortcutWithKeyCode(keyCode, NVKeyMaskUtils::CreateModifiersFlags(control, option, shift, command));
}

std::optional<NVShortcut> NVShortcut::shortcutWithDescription(std::string_view saved)
{
    const size_t dash = saved.find('-');
    if (dash == std::string_view::npos)
        return std::nullopt;
    uint64_t flags = 0;
    uint64_t code = 0;
    if (!parse_decimal(saved.substr(0, dash), flags) || !parse_decimal(saved.substr(dash + 1), code) ||
        flags > UINT32_MAX || code > UINT16_MAX)
        return std::nullopt;
    return shortcutWithKeyCode(static_cast<uint16_t>(code), static_cast<uint32_t>(flags));
}

std::string NVShortcut::description() const
{
    return NVKeyMaskUtils::NSString4CocoaModifiers(keyModifierFlags) + getKeyName();
}

std::string NVShortcut::description4Save() const
{
    return std::to_string(keyModifierFlags) + "-" + std::to_string(keyCode);
}

std::string NVShortcut::getKeyName() const
{
    // Layout names come upper-cased from the layout; the fixed names are as they are.
    return NVKeys(keyCode).description();
}

bool NVShortcut::isControlerShortcut() const
{
    return keyCode == 55 || keyCode == 56 || (keyCode >= 58 && keyCode <= 62);
}

bool NVShortcut::isValidShortcut() const
{
    return !isControlerShortcut() && !description().empty();
}

bool NVShortcut::hasRegistered() const
{
    for (const auto& [token, check] : registry())
        if (check(*this))
            return true;
    return false;
}

std::string NVShortcut::keyCodeStringForKeyEquivalent() const
{
    std::string s = getKeyName();
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

std::string NVShortcut::NSStringFromNVkbtns(const NVKbtn& kbtn)
{
    std::string s = NVKeyMaskUtils::NSString4CocoaModifiers(
        NVKeyMaskUtils::CreateModifiersFlags(kbtn.bCtrl == 1, kbtn.bAlt == 1, kbtn.bShift == 1, kbtn.bWin == 1));
    for (uint8_t key : kbtn.kbKeys) {
        if (key == 0)
            break;
        s += ' ';
        s += NVKeys(key == 255 ? 0 : key).description();
    }
    return s;
}

int nv_add_shortcut_registry(NVShortcutRegistryCheck check)
{
    static int next = 0;
    registry().emplace(++next, std::move(check));
    return next;
}

void nv_remove_shortcut_registry(int token)
{
    registry().erase(token);
}
