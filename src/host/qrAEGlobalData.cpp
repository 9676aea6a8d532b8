#include "qrAEGlobalData.h"

#include "qrAEHandle.h"
#include "qrResource.h"

#include <algorithm>
#include <cstring>

namespace Quarn::AfterEffects {

namespace {

// The title bitmap copied into a new handle; null when there is none.
PF_Handle makeTitle(PF_InData* in, const Platform::DrawBitmap& bitmap)
{
    if (bitmap.empty())
        return nullptr;
    const std::size_t bytes = std::size_t(bitmap.rowBytes()) * bitmap.height();
    PF_Handle handle = newHandle(in, bytes);
    LockedHandle locked(in, handle);
    if (!locked.data()) {
        disposeHandle(in, handle);
        return nullptr;
    }
    std::memcpy(locked.data(), &bitmap.at(0, 0), bytes);
    return handle;
}

}  // namespace

A_u_long pluginVersion()
{
    return PF_VERSION(2, 1, 0, PF_Stage_RELEASE, 5);
}

PF_Err GlobalData::setup(PF_InData* in, PF_OutData* out)
{
    out->my_version = pluginVersion();
    out->out_flags |= kOutFlags;
    out->out_flags2 |= kOutFlags2;

    PF_Handle handle = newHandle(in, sizeof(GlobalRecord));
    LockedHandle locked(in, handle);
    if (!locked.data()) {
        disposeHandle(in, handle);
        return PF_Err_OUT_OF_MEMORY;
    }
    GlobalRecord record;
    const std::string path = Platform::resourceModulePath();
    std::strncpy(record.modulePath, path.c_str(), sizeof record.modulePath - 1);
    const Platform::DrawBitmap title = Platform::resourceBitmap(Platform::kBitmapTitle);
    record.title = makeTitle(in, title);
    record.titleWidth = record.title ? title.width() : 0;
    record.titleHeight = record.title ? title.height() : 0;
    *locked.as<GlobalRecord>() = record;
    out->global_data = handle;
    return PF_Err_NONE;
}

PF_Err GlobalData::setdown(PF_InData* in, PF_OutData* out)
{
    if (PF_Handle handle = in->global_data) {
        {
            LockedHandle locked(in, handle);
            if (auto* record = locked.as<GlobalRecord>()) {
                disposeHandle(in, record->title);
                record->title = nullptr;
            }
        }
        disposeHandle(in, handle);
    }
    in->global_data = nullptr;
    out->global_data = nullptr;
    return PF_Err_NONE;
}

void GlobalData::titleSize(PF_InData* in, int32_t& width, int32_t& height)
{
    width = kDefaultTitleWidth;
    height = kDefaultTitleHeight;
    LockedHandle locked(in, in->global_data);
    if (auto* record = locked.as<GlobalRecord>(); record && record->title) {
        width = record->titleWidth;
        height = record->titleHeight;
    }
}

bool GlobalData::drawTitle(PF_InData* in, const Platform::DrawSurface& canvas)
{
    LockedHandle locked(in, in->global_data);
    auto* record = locked.as<GlobalRecord>();
    if (!record || !record->title)
        return false;
    LockedHandle pixels(in, record->title);
    if (!pixels.data())
        return false;
    const Platform::DrawSurface title(
        pixels.data(), record->titleWidth, record->titleHeight, std::ptrdiff_t(record->titleWidth) * 4);
    canvas.blit(title, 0, 0);
    return true;
}

std::string GlobalData::presetFolder(PF_InData* in)
{
    LockedHandle locked(in, in->global_data);
    auto* record = locked.as<GlobalRecord>();
    if (!record)
        return {};
    const std::string path(record->modulePath, strnlen(record->modulePath, sizeof record->modulePath));
    const std::size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

}  // namespace Quarn::AfterEffects
