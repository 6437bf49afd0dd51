// A model of the table with its default configuration and its tablet layout from the
// build's resources, for the tests of what the pages compute. An unknown identity gives
// the zero tablet.
#pragma once

#include "core/config/NVConfigIO.h"
#include "core/config/NVConfigPaths.h"
#include "core/device/NVModelTable.h"
#include "core/model/NVLayoutAlloc.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

struct ModelLayout {
    explicit ModelLayout(const char* identity)
    {
        nv_set_res_path(nvtest::resources_dir().string());
        const NVModelInfo* m = nv_model_by_identity(identity);
        if (m)
            ti = nv_model_tablet_info(*m);
        std::memset(cfg.get(), 0, sizeof(NVConfig));
        NVConfigIO::readDefaultConfig(cfg.get(), &ti);
        NVConfigIO::readTabletLayout(&layout, &ti, cfg.get());
    }
    ~ModelLayout()
    {
        free_NVTabletLayout(&layout);
        nv_set_res_path({});
    }
    ModelLayout(const ModelLayout&) = delete;
    ModelLayout& operator=(const ModelLayout&) = delete;

    NVTabletInfo ti{};
    std::unique_ptr<NVConfig> cfg = std::make_unique<NVConfig>();
    NVLayoutTablet layout{};
};
