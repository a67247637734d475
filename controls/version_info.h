// TVersionInfo: a non-visual component that reads the "FileVersion" string of
// the running program's version resource once, when it is constructed, and
// shows it as the caption of a label (FileVersionLabel, not owned).
//
// The About box holds one, VersionInfo1, bound to its label Label2:
//
//     VersionInfo1 = new controls::TVersionInfo(form);   // form: the window's component
//     VersionInfo1->SetName("VersionInfo1");
//     VersionInfo1->Loading();
//     VersionInfo1->SetFileVersionLabel(label2Adapter);  // ui::TLabelAdapter of Label2
//     VersionInfo1->Loaded();                            // Label2 shows the version
//
// The version is read through the version information query path of
// version_resource.h: the translation list "\VarFileInfo\Translation", then
// "\StringFileInfo\<language><code page>\FileVersion". A program without a
// version resource, or one whose block lacks an entry, gets an empty text.
#pragma once

#include "platform/rtl/classes.h"

#include <string>

namespace ui {
class TLabelAdapter;
}

namespace controls {

class TVersionInfo : public rtl::TComponent {
    RTL_DECLARE_CLASS(TVersionInfo)
public:
    // Reads the version of the running program (empty when it has none).
    explicit TVersionInfo(rtl::TComponent *owner = nullptr);
    ~TVersionInfo() override;

    // The FileVersion text read at construction; empty when it could not be read.
    const std::string &VersionText() const { return FVersionText; }

    // The label that shows the text (published as "FileVersionLabel").
    ui::TLabelAdapter *FileVersionLabel() const { return FFileVersionLabel; }
    // Stores the label; its caption becomes "#File Version#" while the
    // component is being designed, the version text otherwise.
    void SetFileVersionLabel(ui::TLabelAdapter *label);

    // When a label is set, its caption becomes the version text.
    void Loaded() override;

protected:
    // The label being removed clears the reference.
    void Notification(rtl::TComponent *component, rtl::TOperation operation) override;

private:
    std::string FVersionText;
    ui::TLabelAdapter *FFileVersionLabel = nullptr;
};

// Reads the FileVersion string of the version information of the executable
// at path through the query path above; empty when any step fails.
std::string ReadFileVersion(const std::string &path);
// The query path on a version block: the first language and code page of
// "\VarFileInfo\Translation" select "\StringFileInfo\LLLLCCCC\FileVersion"
// (upper-case hexadecimal); empty when either query fails.
std::string QueryFileVersion(const std::string &block);

} // namespace controls
