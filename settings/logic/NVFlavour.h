// The brand flavours of the settings application, decided at run time by its display
// name, and which tablets each flavour accepts as its own.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

enum class NVFlavour {
    Primary, // "NuvroTablet"
    Second,  // "KeltaTablet"
    Third,   // any other display name
};

// What differs between the flavours; everything else is common.
struct NVFlavourTraits {
    const char* mainViewId;     // main view controller in the page factory
    const char* windowTitleKey; // localisation key of the window title
    bool appListButton;         // title bar carries the applications button beside settings
    const char* tabIconFormat;  // printf format: resource folder, tab index 0..3
    bool captionsWhiteLeft;     // tab captions white and left aligned, else black and centred
    const char* background;     // printf format with the resource folder; null for none
    bool whiteStateLabel;
    bool keltaContainer;        // pages go into _containerKeltaUI, else _container
    std::span<const char* const> acceptedIds; // substrings of the model identifier, in test order
    bool hotkeysAndStatusItem;
};

NVFlavour nv_flavour_from_display_name(std::string_view displayName);
const NVFlavourTraits& nv_flavour_traits(NVFlavour flavour);

// True when the identifier names a model this flavour drives.
bool nv_flavour_accepts_id(NVFlavour flavour, std::string_view modelId);
// A tablet is opened when the agent reports a device (devType != 0) whose model
// identifier the flavour accepts; a model of another brand stays disconnected.
bool nv_flavour_accepts_tablet(NVFlavour flavour, uint32_t devType);
