#include "settings/logic/NVKeyLayout.h"

#include "core/log/NVLog.h"

#include <xkbcommon/xkbcommon.h>

namespace {

// xkb numbers keys as the X server does: evdev code + 8.
constexpr uint32_t kEvdevOffset = 8;

std::unique_ptr<NVKeyLayout>& current()
{
    static std::unique_ptr<NVKeyLayout> layout;
    return layout;
}

bool g_defaultTried = false;

} // namespace

std::unique_ptr<NVKeyLayout> NVKeyLayout::fromNames(const std::string& layout, const std::string& variant)
{
    xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    if (!context)
        return nullptr;
    // One line of ours instead of xkb's own lines on standard error.
    xkb_context_set_log_level(context, XKB_LOG_LEVEL_CRITICAL);
    xkb_rule_names names{};
    names.layout = layout.empty() ? nullptr : layout.c_str();
    names.variant = variant.empty() ? nullptr : variant.c_str();
    xkb_keymap* keymap = xkb_keymap_new_from_names(context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
    // The keymap holds the context as long as it needs it.
    xkb_context_unref(context);
    if (!keymap) {
        nv_log("keyboard layout \"%s\" cannot be compiled; keys are named by the fixed table only", layout.c_str());
        return nullptr;
    }
    return std::unique_ptr<NVKeyLayout>(new NVKeyLayout(keymap, 0));
}

std::unique_ptr<NVKeyLayout> NVKeyLayout::fromKeymap(xkb_keymap* keymap, uint32_t group)
{
    if (!keymap)
        return nullptr;
    return std::unique_ptr<NVKeyLayout>(new NVKeyLayout(xkb_keymap_ref(keymap), group));
}

NVKeyLayout::~NVKeyLayout()
{
    xkb_keymap_unref(keymap_);
}

std::string NVKeyLayout::keyText(uint16_t evdev) const
{
    // A key with fewer groups than the one in force wraps it as the server does.
    const xkb_keysym_t* syms = nullptr;
    const int n = xkb_keymap_key_get_syms_by_level(keymap_, evdev + kEvdevOffset, group_, 0, &syms);
    if (n != 1)
        return {};
    char buf[16];
    const int len = xkb_keysym_to_utf8(xkb_keysym_to_upper(syms[0]), buf, sizeof buf);
    if (len <= 1)
        return {};
    // Control characters (return, tab, escape) are named by the fixed table, not here.
    if (len == 2 && static_cast<unsigned char>(buf[0]) < 0x20)
        return {};
    return std::string(buf, static_cast<size_t>(len - 1));
}

std::string NVKeyLayout::name() const
{
    const char* n = xkb_keymap_layout_get_name(keymap_, group_);
    return n ? n : "group " + std::to_string(group_ + 1);
}

const NVKeyLayout* nv_current_key_layout()
{
    if (!current() && !g_defaultTried) {
        g_defaultTried = true;
        current() = NVKeyLayout::fromNames({});
    }
    return current().get();
}

void nv_set_current_key_layout(std::unique_ptr<NVKeyLayout> layout)
{
    g_defaultTried = true;
    current() = std::move(layout);
}
