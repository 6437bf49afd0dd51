// The supported tablet models, generated from NVModels.def: the NVTT_ device types, the
// NV_DTS_ identity strings, the NV_OTS_ brand tags and the per-model data that the
// configuration and layout files must agree with.
#pragma once

#include "core/model/NVTypes.h"

#include <cstdint>
#include <span>

enum NVTabletType : uint32_t {
    NVTT_UNKNOW = 0,
#define NV_MODEL(id, devType, ...) NVTT_##id = devType,
#include "core/device/NVModels.def"
#undef NV_MODEL
};

#define NV_MODEL(id, ...) extern const char NV_DTS_##id[];
#include "core/device/NVModels.def"
#undef NV_MODEL

extern const char NV_DTS_UNKNOW[];

extern const char NV_OTS_NOBRAND[];
extern const char NV_OTS_NUVRO[];
extern const char NV_OTS_KELTA[];
extern const char NV_OTS_ORVANE[];
extern const char NV_OTS_DELQUA[];
extern const char NV_OTS_BOSKA[];
extern const char NV_OTS_MIRANTEK[];
extern const char NV_OTS_QRVN[];
extern const char NV_OTS_UNKNOW[];

// Pen node used when a model has no pen of its own in the pen layout file.
extern const char NV_PEN_STANDARD[];

constexpr uint32_t NV_OEM_MAKER = 2; // oemType of the maker's own brand

struct NVModelInfo {
    const char* identity; // model identity string, also the node name in the XML files
    uint32_t devType;
    uint32_t oemType;
    const char* penNode;
    uint32_t maxX;
    uint32_t maxY;
    uint16_t maxP;
    uint16_t lpi;
    uint16_t rate;
    uint8_t hbtnNum;
    uint8_t sbtnNum;
    uint8_t pbtnNum;
    uint8_t bMonitor;
    uint8_t mekeyNum;
    uint8_t mekeyPositions[2]; // key positions of each multi-function key
    uint8_t mekeySets[2];      // function sets of each multi-function key
};

// The maker's models then the OEM models, in identification order.
std::span<const NVModelInfo> nv_maker_models();
std::span<const NVModelInfo> nv_oem_models();
// The model of a device type, or null outside the table.
const NVModelInfo* nv_model_info(uint32_t devType);
// The model whose identity string is exactly name, or null.
const NVModelInfo* nv_model_by_identity(const char* name);
// The tablet information a device of the model reports (firmware text left empty).
NVTabletInfo nv_model_tablet_info(const NVModelInfo& m);
