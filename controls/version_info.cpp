#include "controls/version_info.h"

#include "controls/version_resource.h"

#include "platform/rtl/typinfo.h"
#include "platform/ui/component_adapters.h"

#include <QCoreApplication>

#include <cstdint>
#include <cstdio>

namespace controls {

namespace {

std::string ExecutablePath()
{
    if (!QCoreApplication::instance())
        return {};
    return QCoreApplication::applicationFilePath().toStdString();
}

} // namespace

std::string ReadFileVersion(const std::string &path)
{
    if (GetFileVersionInfoSize(path) == 0)
        return {};
    std::string block;
    if (!GetFileVersionInfo(path, block))
        return {};
    return QueryFileVersion(block);
}

std::string QueryFileVersion(const std::string &block)
{
    std::string translation;
    if (!VerQueryValue(block, "\\VarFileInfo\\Translation", translation) || translation.size() < 4)
        return {};
    auto word = [&translation](size_t i) {
        return static_cast<unsigned>(static_cast<unsigned char>(translation[i])) |
               static_cast<unsigned>(static_cast<unsigned char>(translation[i + 1])) << 8;
    };
    char query[64];
    std::snprintf(query, sizeof query, "\\StringFileInfo\\%04X%04X\\FileVersion", word(0), word(2));
    std::string version;
    if (!VerQueryValue(block, query, version))
        return {};
    return version;
}

RTL_IMPLEMENT_PUBLISHED_CLASS(TVersionInfo, rtl::TComponent)
{
    P.Object<ui::TLabelAdapter>(
        "FileVersionLabel", [](TVersionInfo &v) { return v.FileVersionLabel(); },
        [](TVersionInfo &v, ui::TLabelAdapter *label) { v.SetFileVersionLabel(label); });
}

TVersionInfo::TVersionInfo(rtl::TComponent *owner) : rtl::TComponent(owner)
{
    FVersionText = ReadFileVersion(ExecutablePath());
}

TVersionInfo::~TVersionInfo()
{
    if (FFileVersionLabel)
        FFileVersionLabel->RemoveFreeNotification(this);
}

void TVersionInfo::SetFileVersionLabel(ui::TLabelAdapter *label)
{
    if (label)
        label->SetCaption(HasState(rtl::csDesigning) ? std::string("#File Version#")
                                                     : FVersionText);
    if (FFileVersionLabel && FFileVersionLabel != label)
        FFileVersionLabel->RemoveFreeNotification(this);
    FFileVersionLabel = label;
    if (label)
        label->FreeNotification(this);
}

void TVersionInfo::Loaded()
{
    rtl::TComponent::Loaded();
    if (FFileVersionLabel)
        FFileVersionLabel->SetCaption(FVersionText);
}

void TVersionInfo::Notification(rtl::TComponent *component, rtl::TOperation operation)
{
    rtl::TComponent::Notification(component, operation);
    if (operation == rtl::opRemove && component == FFileVersionLabel)
        FFileVersionLabel = nullptr;
}

} // namespace controls
