// The program's files: data text files, registry files, collection files and chart files;
// and all the families of golden vectors.
#include "tests/golden/describe.h"

#include "app/graph_files.h"
#include "app/logger_files.h"
#include "app/text_data.h"
#include "chart/control/gxsgraph.h"
#include "platform/chartlib/chartlib.h"
#include "platform/chartlib/render/render_props.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/registry.h"
#include "tests/support/temp_dir.h"

#include <QString>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <sstream>

namespace golden {

namespace {

std::string Utf8(const std::u16string &text)
{
    return QString::fromStdU16String(text).toStdString();
}

const char *TypeName(rtl::TRegDataType type)
{
    switch (type) {
    case rtl::rdString:
        return "string";
    case rtl::rdExpandString:
        return "expand string";
    case rtl::rdInteger:
        return "integer";
    case rtl::rdBinary:
        return "binary";
    case rtl::rdUnknown:
        break;
    }
    return "unknown";
}

// XDG_CONFIG_HOME pointed at a fresh folder for the scope's life, and the file backend.
class TPrivateConfig {
public:
    TPrivateConfig()
    {
        if (const char *old = std::getenv("XDG_CONFIG_HOME"))
            FOld = old;
        ::setenv("XDG_CONFIG_HOME", FFolder.Path().c_str(), 1);
        std::filesystem::create_directories(FFolder.Path() / "Nivora");
    }
    ~TPrivateConfig()
    {
        if (FOld)
            ::setenv("XDG_CONFIG_HOME", FOld->c_str(), 1);
        else
            ::unsetenv("XDG_CONFIG_HOME");
    }

private:
    testsupport::TTempDir FFolder{"golden"};
    std::optional<std::string> FOld;
    rtl::TRegistryBackendScope FBackend{rtl::TRegistryBackend::File};
};

void DescribeKey(rtl::TRegistry &reg, const std::string &root, const std::string &path, TFields &f)
{
    if (!reg.OpenKeyReadOnly(path.empty() ? "\\" : path))
        return;
    std::vector<std::string> values = reg.GetValueNames();
    std::vector<std::string> keys = reg.GetKeyNames();
    std::sort(values.begin(), values.end());
    std::sort(keys.begin(), keys.end());
    f.emplace_back("key", root + Escaped(path));
    for (const std::string &name : values) {
        rtl::TRegDataInfo info;
        reg.GetDataInfo(name, info);
        std::string data;
        if (info.RegData == rtl::rdString || info.RegData == rtl::rdExpandString) {
            data = Escaped(reg.ReadString(name));
        } else if (info.RegData == rtl::rdInteger) {
            data = std::to_string(reg.ReadInteger(name));
        } else {
            for (std::uint8_t b : reg.ReadBinaryData(name)) {
                char hex[4];
                std::snprintf(hex, sizeof hex, "%02x", b);
                data += (data.empty() ? "" : " ") + std::string(hex);
            }
        }
        f.emplace_back("value " + Escaped(name), std::string(TypeName(info.RegData)) + " (" +
                                                     std::to_string(info.DataSize) + ") " + data);
    }
    for (const std::string &key : keys)
        DescribeKey(reg, root, path + "\\" + key, f);
}

// Data text files (".txt", ".csv"), the separator from the name as File > Open takes it; given
// columns, the list window's column count (7 when not given).
TFields DescribeDataText(const std::filesystem::path &file, const TGiven &given)
{
    TFields f;
    const std::string bytes = ReadBytes(file);
    const char separator = app::DataFileSeparator(file.filename().string());
    f.emplace_back("separator", separator == ',' ? "comma" : "tab");
    const int columns = std::stoi(GivenOr(given, "columns", "7"));
    std::istringstream in(bytes);
    app::TDataTextReader reader(in, separator);
    int count = 0;
    std::string cell41;
    for (std::string line; reader.Next(line);) {
        ++count;
        const std::vector<std::string> cells = app::SplitDataLine(line, separator, columns);
        f.emplace_back("line " + std::to_string(count), Joined(cells));
        if (count == 1 && cells.size() >= 4)
            cell41 = cells[3];
    }
    f.emplace_back("lines", std::to_string(count) + (reader.Cut() ? ", the last cut" : ""));
    const app::TListTitles titles = app::ListTitlesFor(cell41);
    f.emplace_back("titles", titles == app::TListTitles::Own          ? "the graph's own"
                             : titles == app::TListTitles::LeqRecords ? "LEQ records"
                                                                      : "LEQ table");
    return f;
}

// Registry files, read through TRegistry from a private configuration folder.
TFields DescribeRegistryFile(const std::filesystem::path &file, const TGiven &)
{
    TFields f;
    TPrivateConfig config;
    const std::string bytes = ReadBytes(file);
    WriteBytes(rtl::RegistryFileName(), bytes);
    rtl::TRegistry reg;
    const std::pair<rtl::HKEY, const char *> roots[] = {
        {rtl::HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT"},
        {rtl::HKEY_CURRENT_USER, "HKEY_CURRENT_USER"},
        {rtl::HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE"},
        {rtl::HKEY_USERS, "HKEY_USERS"},
        {rtl::HKEY_CURRENT_CONFIG, "HKEY_CURRENT_CONFIG"},
        {rtl::HKEY_DYN_DATA, "HKEY_DYN_DATA"}};
    for (const auto &[root, name] : roots) {
        reg.SetRootKey(root);
        DescribeKey(reg, name, "", f);
    }
    reg.CloseKey();
    return f;
}

// Collection files (".REC") and chart files (".ghf"), through the program's readers.
TFields DescribeCollectionFile(const std::filesystem::path &file, const TGiven &)
{
    TLoggerImage image;
    const app::TCollectionRead read =
        app::ReadCollectionFile(QString::fromStdString(file.string()), image);
    if (read != app::TCollectionRead::Read) {
        const char *names[] = {"read", "unreadable", "empty", "too short", "too long"};
        return {{"read", names[static_cast<int>(read)]}};
    }
    TFields f = DescribeLoggerImage(file, {{"lastAddress", "image"}});
    f.insert(f.begin(), {"read", "read"});
    return f;
}

TFields DescribeChartFile(const std::filesystem::path &file, const TGiven &)
{
    TFields f;
    f.emplace_back("size", std::to_string(ReadBytes(file).size()));
    GXSGraph chart;
    try {
        app::LoadGraphFile(chart, QString::fromStdString(file.string()));
    } catch (const rtl::Exception &e) {
        f.emplace_back("error", Escaped(e.Message()));
        return f;
    }
    f.emplace_back("main title", Escaped(Utf8(chart.GetMainTitle())));
    f.emplace_back("axis labels", Escaped(Utf8(chart.GetXAxisLabel())) + " | " +
                                      Escaped(Utf8(chart.GetYAxisLabel())));
    f.emplace_back("Y scale",
                   Number(chart.GetManualMinY(), 1) + " .. " + Number(chart.GetManualMaxY(), 1));
    const int subsets = chart.GetSubsets();
    const int points = chart.GetPoints();
    f.emplace_back("subsets and points", std::to_string(subsets) + " x " + std::to_string(points));
    for (int s = 0; s < subsets; ++s) {
        const std::string subset = "subset " + std::to_string(s);
        if (points > 0)
            f.emplace_back(subset, Number(chart.GetXDataII(s, 0), 6) + " " +
                                       Number(chart.GetYData(s, 0), 1) + " .. " +
                                       Number(chart.GetXDataII(s, points - 1), 6) + " " +
                                       Number(chart.GetYData(s, points - 1), 1));
    }
    const auto marks = static_cast<int>(std::max(
        chartlib::ChartArrayLength(chart.GethObject(), chartlib::rprop::GraphAnnotationType),
        chartlib::ChartArrayLength(chart.GethObject(), chartlib::rprop::GraphAnnotationText)));
    for (int k = 0; k < marks; ++k) {
        if (chart.GetGraphAnnotationType(k) == 0 && chart.GetGraphAnnotationText(k).empty())
            continue;
        f.emplace_back("mark " + std::to_string(k),
                       "type " + std::to_string(chart.GetGraphAnnotationType(k)) + " at " +
                           Number(chart.GetGraphAnnotationX(k), 6) + " " +
                           Number(chart.GetGraphAnnotationY(k), 1) + " | " +
                           Escaped(Utf8(chart.GetGraphAnnotationText(k))));
    }
    return f;
}

} // namespace

std::vector<TFamily> FileFamilies()
{
    return {
        {"rec", "Collection files (\".REC\") as File > Save writes them; read as File > Open does.",
         DescribeCollectionFile},
        {"text",
         "Data text files (\".txt\", \".csv\") as File > Save writes them; read as File > Open "
         "reads them into a list.",
         DescribeDataText},
        {"chart", "Chart files (\".ghf\") as a graph window saves them.", DescribeChartFile},
        {"registry", "Registry files as the program's registry writes them.", DescribeRegistryFile},
    };
}

const std::vector<TFamily> &Families()
{
    static const std::vector<TFamily> families = [] {
        std::vector<TFamily> all = MeterFamilies();
        for (auto more : {TranslationFamilies(), FileFamilies()})
            all.insert(all.end(), more.begin(), more.end());
        return all;
    }();
    return families;
}

const TFamily *FindFamily(std::string_view folder)
{
    for (const TFamily &family : Families())
        if (folder == family.Folder)
            return &family;
    return nullptr;
}

} // namespace golden
