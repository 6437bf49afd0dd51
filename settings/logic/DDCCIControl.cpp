#include "settings/logic/DDCCIControl.h"

std::string nv_display_chooser_title(int position, const std::string& screenName)
{
    return std::to_string(position) + ":" + screenName;
}

std::string nv_continuous_effects_key(const std::string& serialNumber)
{
    return "ContinuousEffects" + serialNumber;
}

int8_t DDCCIControl::getDisplays()
{
    for (DDCDisplay& d : source_.displays())
        displays_.push_back(std::move(d));
    return static_cast<int8_t>(displays_.size());
}

const DDCDisplay* DDCCIControl::getCurrentDisplay() const
{
    if (currentDisplayID < 0 || currentDisplayID >= static_cast<int64_t>(displays_.size()))
        return nullptr;
    return &displays_[static_cast<size_t>(currentDisplayID)];
}

NVDdcQueue* DDCCIControl::queue()
{
    const DDCDisplay* display = getCurrentDisplay();
    if (!display)
        return nullptr;
    auto& q = queues_[currentDisplayID];
    if (!q) {
        std::unique_ptr<NVI2cPort> port = source_.open(*display);
        q = std::make_unique<NVDdcQueue>(port ? std::move(port) : std::make_unique<NVSilentI2cPort>());
    }
    return q.get();
}

bool DDCCIControl::read(uint8_t vcp, NVDdcQueue::GetDone done)
{
    NVDdcQueue* q = queue();
    if (q)
        q->get(vcp, std::move(done));
    return q != nullptr;
}

bool DDCCIControl::write(uint8_t vcp, uint8_t value, NVDdcQueue::SetDone done)
{
    NVDdcQueue* q = queue();
    if (q)
        q->set(vcp, value, std::move(done));
    return q != nullptr;
}

bool DDCCIControl::reset(NVDdcQueue::SetDone done)
{
    return write(NVVCP_RESTORE_DEFAULTS, 1, std::move(done));
}
