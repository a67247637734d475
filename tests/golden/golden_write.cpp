// Writes the golden vectors and their expectation files: golden_write <tests/data/golden>.
//
// Every vector comes from the program's own writers or from the simulated meter, on a fake
// clock, so a run writes the same bytes every time. A family's folder is emptied first; its
// expectation file says what the program's readers make of each vector as they read it now.
// Run it only when a format changes on purpose, and look at the differences before committing.
#include "tests/golden/describe.h"
#include "tests/golden/sample_form.h"

#include "app/graph_files.h"
#include "app/logger_files.h"
#include "app/settings.h"
#include "app/text_data.h"
#include "chart/control/gxsgraph.h"
#include "i18n/lx_comp.h"
#include "i18n/lx_linked.h"
#include "i18n/lx_lxb.h"
#include "meter/leq_record.h"
#include "meter/link.h"
#include "meter/logger_data.h"
#include "meter/logger_download.h"
#include "platform/rtl/codepage.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/filer.h"
#include "platform/rtl/registry.h"
#include "platform/rtl/streams.h"
#include "platform/ui/folders.h"
#include "platform/usb/sim/logger_image_builder.h"
#include "platform/usb/sim/simulated_meter.h"

#include <QApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using golden::TEntry;
using golden::TGiven;

namespace {

fs::path gRoot;               // tests/data/golden
std::vector<TEntry> gEntries; // of the family being written
fs::path gFolder;             // its folder

void Begin(const char *family)
{
    gFolder = gRoot / family;
    fs::remove_all(gFolder);
    fs::create_directories(gFolder);
    gEntries.clear();
}

// A vector of the family that is in its folder already.
void List(const std::string &name, TGiven given = {})
{
    gEntries.push_back({name, std::move(given), {}});
}

void Put(const std::string &name, const std::string &bytes, TGiven given = {})
{
    if (!golden::WriteBytes(gFolder / name, bytes)) {
        std::fprintf(stderr, "cannot write %s\n", (gFolder / name).c_str());
        std::exit(1);
    }
    List(name, std::move(given));
}

template <class Bytes> std::string AsString(const Bytes &bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

// Describes every vector of the family through the program's readers and writes the
// expectation file.
void End()
{
    const std::string folder = gFolder.filename().string();
    const golden::TFamily *family = golden::FindFamily(folder);
    for (TEntry &e : gEntries)
        e.Fields = family->Describe(gFolder / e.File, e.Given);
    golden::WriteBytes(gRoot / (folder + ".txt"),
                       golden::ExpectationText(family->Comment, gEntries));
    std::printf("%-12s %zu vectors\n", folder.c_str(), gEntries.size());
}

rtl::TDateTime At(int y, int mo, int d, int h, int mi, int s)
{
    return rtl::EncodeDate(y, mo, d) + rtl::EncodeTime(h, mi, s, 0);
}

// --- The simulated meter --------------------------------------------------

// The command sent; its reply read when asked for one.
usb::SimulatedMeter::Reply Send(usb::SimulatedMeter &meter, uint8_t command, uint8_t sequence,
                                bool read)
{
    const uint8_t packet[usb::PacketSize] = {0x02, command, 0, 0, 0, sequence, 0x03};
    usb::SimulatedMeter::Reply reply{};
    meter.UsbOpen(usb::SimulatedMeter::VendorId, usb::SimulatedMeter::ProductId);
    meter.UsbWrite(usb::PacketSize, packet);
    if (read)
        meter.UsbRead(usb::ReplySize, reply.data());
    meter.UsbClose();
    return reply;
}

std::string Ask(usb::SimulatedMeter &meter, uint8_t command, uint8_t sequence = 1)
{
    return AsString(Send(meter, command, sequence, true));
}

void Key(usb::SimulatedMeter &meter, uint8_t key)
{
    Send(meter, key, 0, false);
}

void WriteStatus()
{
    Begin("status");
    usb::SimulatedMeter meter;
    meter.FreezeMeterClock(At(2024, 1, 15, 10, 30, 15));
    auto status = [&](const char *name, int lastSecond = 0) {
        Put(name, Ask(meter, 'A', 0x21), {{"lastSecond", golden::Hex(unsigned(lastSecond))}});
    };
    meter.SetLevel(653);
    status("dba_fast.bin");
    Key(meter, 'C');
    Key(meter, 'F');
    meter.SetLevel(720);
    status("dbc_slow_same_second.bin", 0x15);
    Key(meter, 'C');
    Key(meter, 'F');
    meter.SetLevel(812);
    Key(meter, 'M'); // MAX/MIN mode, MAX shown
    meter.SetLevel(700);
    status("max_hold.bin");
    Key(meter, 'M');
    status("min_hold.bin");
    Key(meter, 'M');
    meter.StepMeterClock(1);
    status("max_min_alternating.bin", 0x15);
    Key(meter, 'N');
    meter.SetLevel(653);
    meter.SetRecording(true);
    Key(meter, 'R'); // logging a data set
    status("recording.bin");
    Key(meter, 'R');
    meter.SetRecording(false);
    Key(meter, 'L');
    Key(meter, 's');
    status("leq_running.bin");
    Key(meter, 's');
    status("leq_paused.bin");
    Key(meter, 'u');
    Key(meter, 'L');
    meter.SetLevel(248);
    status("under_range.bin");
    meter.SetLevel(1312);
    status("over_range.bin");
    meter.SetLevel(653);
    std::vector<uint8_t> full(256, 0);
    full[11] = 0x01; // last used address at the end of the sample area
    full[12] = 0xF5;
    full[13] = 0x00;
    meter.SetLoggerImage(full);
    status("memory_full.bin");
    meter.ClearLogger();
    meter.SetReplyFilter(
        [](uint8_t, usb::SimulatedMeter::Reply &r) { r[15] = r[16] = r[17] = 0x5A; });
    status("clock_reset.bin");
    meter.SetReplyFilter([](uint8_t, usb::SimulatedMeter::Reply &r) { r[19] = 0x1A; });
    status("damaged_month.bin");
    meter.SetReplyFilter([](uint8_t, usb::SimulatedMeter::Reply &r) {
        r[0] = 0x82;
        r[31] = 0x83;
    });
    status("wrong_markers.bin");
    End();
}

void WriteInformation()
{
    Begin("information");
    usb::SimulatedMeter meter;
    meter.FreezeMeterClock(At(2024, 1, 15, 10, 30, 15));
    Put("empty_logger.bin", Ask(meter, 'Y'));

    usb::TLoggerImageBuilder image;
    image.AddSimpleSet(100);
    image.AddSimpleSet(2000, 710);
    image.AddSimpleSet(30, 455);
    meter.SetLoggerImage(image.Build());
    meter.SetEeprom(usb::SimulatedMeter::IntervalAddress, 2);
    meter.SetCalibration(-3, 17920, 15360, 10240, 7680);
    meter.SetFirmware(123);
    meter.FreezeMeterClock(At(2025, 12, 31, 23, 59, 58));
    Put("three_sets.bin", Ask(meter, 'Y'));

    meter.SetCalibration(-128, 0xFFFF, 0, 1, 0x8000);
    meter.SetFirmware(255);
    meter.SetEeprom(usb::SimulatedMeter::IntervalAddress, 255);
    Put("extreme_calibration.bin", Ask(meter, 'Y'));
    End();
}

void WriteLeq()
{
    Begin("leq");
    usb::SimulatedMeter meter;
    const std::vector<usb::SimLeqRecord> four = {
        {653, At(2024, 1, 15, 10, 30, 0), 0, true, true},
        {712, At(2024, 1, 15, 11, 0, 5), 5, false, true},
        {1301, At(2024, 2, 29, 23, 59, 59), 11, true, false},
        {250, At(2099, 12, 31, 0, 0, 0), 3, false, false},
    };
    meter.SetLeqRecords(four);
    Put("four_records.bin", AsString(meter.LeqMemory()), {{"count", "4"}});

    std::vector<usb::SimLeqRecord> many;
    for (int i = 0; i < 110; ++i)
        many.push_back({400 + i * 7, At(2024, 3, 1, 8, 0, 0) + i / 1440.0, uint8_t(i % 12),
                        i % 2 == 0, i % 3 != 0});
    meter.SetLeqRecords(many);
    Put("more_than_listed.bin", AsString(meter.LeqMemory()), {{"count", "110"}});

    // Records as a damaged memory may hold them: a wrong number, an unknown period code.
    std::vector<uint8_t> raw;
    const std::array<uint8_t, 6> date = {0x24, 0x05, 0x01, 0x12, 0x00, 0x00};
    for (const auto &r :
         {usb::LeqRecordBytes(1, 653, date, 2, 0xC0), usb::LeqRecordBytes(7, 653, date, 2, 0xC0),
          usb::LeqRecordBytes(3, 701, date, 12, 0x80), usb::LeqRecordBytes(4, 1400, date, 1, 0x40)})
        raw.insert(raw.end(), r.begin(), r.end());
    meter.SetLeqMemory(raw);
    Put("damaged_records.bin", AsString(meter.LeqMemory()), {{"count", "6"}});
    End();
}

struct TQuietView : meter::TDownloadView {
    void SetHourglass(bool) override {}
    void ShowDownloadProgress(int) override {}
    void DownloadProgressed(int) override {}
    void CloseDownloadProgress() override {}
};

// Two data sets the simulated meter records on the fake clock, downloaded as the program
// downloads them.
TLoggerImage RecordedImage(rtl::FakeClock &clock)
{
    usb::SimulatedMeter meter;
    meter.ClearLogger();
    meter.SetMeterTime(At(2024, 6, 3, 14, 0, 0));
    meter.SetEeprom(usb::SimulatedMeter::IntervalAddress, 1);
    Key(meter, 'R');
    clock.Advance(40000);
    Key(meter, 'R');
    meter.SetEeprom(usb::SimulatedMeter::IntervalAddress, 5);
    Key(meter, 'C');
    Key(meter, 'F');
    clock.Advance(2000);
    Key(meter, 'R');
    clock.Advance(60000);
    Key(meter, 'R');
    meter::TMeterLink link(meter);
    TLoggerImage image;
    int lastAddress = 0;
    TQuietView view;
    if (meter::DownloadLogger(link, image, lastAddress, view) != 0) {
        std::fprintf(stderr, "the download from the simulated meter failed\n");
        std::exit(1);
    }
    return image;
}

usb::TLoggerSetSpec Set(std::array<uint8_t, 6> date, uint8_t interval, uint8_t flags,
                        std::vector<uint16_t> samples)
{
    usb::TLoggerSetSpec s;
    s.DateBytes = date;
    s.Interval = interval;
    s.Flags = flags;
    s.Samples = std::move(samples);
    return s;
}

std::vector<uint16_t> Wave(int count, int base, int step)
{
    std::vector<uint16_t> samples;
    for (int i = 0; i < count; ++i)
        samples.push_back(static_cast<uint16_t>(base + (i * step) % 97));
    return samples;
}

usb::TLoggerImageBuilder ThreeSets()
{
    usb::TLoggerImageBuilder b;
    b.AddSet(Set({0x24, 0x01, 0x15, 0x10, 0x30, 0x00}, 1, 0x03, Wave(20, 600, 13)));
    b.AddSet(Set({0x24, 0x01, 0x15, 0x23, 0x59, 0x30}, 60, 0x00, Wave(10, 450, 31)));
    b.AddSet(Set({0x24, 0x02, 0x29, 0x08, 0x00, 0x00}, 2, 0x02,
                 {150, 200, 655, 1400, 1401, 0xF2BC, 980}));
    return b;
}

void WriteLogger(const TLoggerImage &recorded)
{
    Begin("logger");
    Put("three_sets.bin", AsString(ThreeSets().Build()));
    Put("recorded.bin", AsString(recorded));

    usb::TLoggerImageBuilder pages;
    pages.AddSimpleSet(usb::TLoggerImageBuilder::SamplesToReach(pages.NextOffset(), 512), 640);
    pages.AddSimpleSet(usb::TLoggerImageBuilder::SamplesToReach(pages.NextOffset(), 1024), 700);
    pages.AddSimpleSet(3, 555);
    Put("page_boundaries.bin", AsString(pages.Build()));

    usb::TLoggerImageBuilder damaged;
    damaged.AddSimpleSet(5, 610);
    usb::TLoggerSetSpec noStart =
        Set({0x24, 0x01, 0x16, 0x09, 0x00, 0x00}, 1, 0x01, Wave(6, 500, 7));
    noStart.StartMarker = false;
    damaged.AddSet(noStart);
    usb::TLoggerSetSpec noEnd =
        Set({0x24, 0x01, 0x17, 0x18, 0x45, 0x10}, 10, 0x02, Wave(4, 720, 3));
    noEnd.EndMarker = false;
    damaged.AddSet(noEnd);
    Put("damaged_markers.bin", AsString(damaged.Build()));

    usb::TLoggerImageBuilder beyond = ThreeSets();
    beyond.SetLastAddress(static_cast<uint32_t>(beyond.NextOffset() - 9));
    Put("beyond_last_address.bin", AsString(beyond.Build(beyond.NextOffset() + 32)),
        {{"lastAddress", "image"}});

    usb::TLoggerImageBuilder none;
    Put("no_sets.bin", AsString(none.Build()));
    usb::TLoggerImageBuilder many;
    many.AddSimpleSet(2);
    many.SetDeclaredSetCount(4001);
    Put("too_many_sets.bin", AsString(many.Build()));
    End();
}

void WriteCollections(const TLoggerImage &recorded)
{
    Begin("rec");
    QTemporaryDir work;
    for (const auto &[name, image] :
         {std::pair<const char *, TLoggerImage>{"recorded.REC", recorded},
          {"three_sets.REC", ThreeSets().Build()}}) {
        QString error;
        if (app::WriteWorkingFile(work.path(), image, &error) != app::TWorkingFileResult::Written ||
            !app::SaveCollectionFile(work.path() + "/" + app::kWorkingFileName,
                                     QString::fromStdString((gFolder / name).string()), &error)) {
            std::fprintf(stderr, "%s\n", error.toLocal8Bit().constData());
            std::exit(1);
        }
        List(name);
    }
    End();
}

// --- Translation files ------------------------------------------------------

using fake::Row;

// A component of three languages named in English, German and French (Windows-1252).
template <class L> L *Lang3(rtl::TComponent &form)
{
    auto *lang = sample::MakeLang<L>(&form, 3);
    lang->LangNames().SetText("English\r\nDeutsch\r\nFran\xE7"
                              "ais");
    return lang;
}

// The sample form's texts in English, German and French.
template <class L> L *SampleLang(rtl::TComponent &form)
{
    L *lang = Lang3<L>(form);
    lang->Captions().Add(Row({"TfrmSample", "Sample", "Beispiel", "Exemple"}));
    lang->Captions().Add(Row({"Label1", "Level", "Pegel", "Niveau"}));
    lang->Hints().Add(Row({"Label1", "Sound level", "Schallpegel", "Niveau sonore"}));
    lang->MultiLines().Add(Row({"List1.Items", "one,two", "eins,zwei", "un,deux"}));
    lang->Strings().Add(Row({"IDS_1", "Connect fail", "Verbindung fehlgeschlagen",
                             "\xC9"
                             "chec de connexion"}));
    lang->Strings().Add(
        Row({"IDS_2", "First line\r\nSecond line", "Erste\r\nZweite", "Premi\xE8re\r\nSeconde"}));
    lang->OtherStrings().Add(Row({"Box1.Caption", "Box", "Kasten", "Bo\xEEte"}));
    lang->Collections().Add(Row({"Bar1.Panels[0].Text", "Ready", "Bereit", "Pr\xEAt"}));
    lang->Collections().Add(Row({"Bar1.Panels[1].Text", "Connected", "Verbunden", "Connect\xE9"}));
    lang->CharSets().Add(Row({"TfrmSample", "ANSI_CHARSET", "ANSI_CHARSET", "ANSI_CHARSET"}));
    i18n::TlxExtendedItem &total = lang->ExtendedTranslations().Add();
    total.SetIdentifier("Box1.Total");
    total.SetValues(Row({"10", "20", "30"}));
    i18n::TlxExtendedItem &lines = lang->ExtendedTranslations().Add();
    lines.SetIdentifier("Box1.Lines");
    lines.SetValues(Row({"a", "b", "c"}));
    return lang;
}

template <class L> L *OtherLang(rtl::TComponent &form)
{
    L *lang = Lang3<L>(form);
    lang->Captions().Add(Row({"TfrmOther", "Other", "Andere", "Autre"}));
    lang->Strings().Add(Row({"IDS_9", "Nine", "Neun", "Neuf"}));
    return lang;
}

// The stored data as UTF-16 with Unicode sections, as a component that stores its texts
// wide holds them; its third language is Russian (code page 1251).
std::string WideTranslationData()
{
    const std::u16string text = u"stCaptions_Unicode\r\n"
                                u"TfrmSample\x01Sample\x01"
                                u"Beispiel\x01\u041E\u0431\u0440\u0430\u0437\u0435\u0446\x01\r\n"
                                u"Label1\x01Level\x01Pegel\x01\u0423\u0440\u043E\u0432\u0435\u043D"
                                u"\u044C\x01\r\n"
                                u"stStrings_Unicode\r\n"
                                u"IDS_1\x01\u00C9t\u00E9\x01\u00DCbung\x01\u0416\u4E2D\x01\r\n"
                                u"stCharSets\r\n"
                                u"TfrmSample\x01"
                                u"ANSI_CHARSET\x01"
                                u"ANSI_CHARSET\x01RUSSIAN_CHARSET\x01\r\n";
    return fake::Utf16Le(text);
}

void WriteTranslationFiles()
{
    const TGiven linked3 = {{"component", "TlxLangLinked"}, {"languages", "3"}};
    const TGiven main3 = {{"component", "TlxLang"}, {"languages", "3"}};

    Begin("translation");
    {
        sample::TfrmSample a, b;
        Put("linked.bin", SampleLang<i18n::TlxLangLinked>(a)->TranslationDataBytes(), linked3);
        Put("main.bin", SampleLang<i18n::TlxLang>(b)->TranslationDataBytes(), main3);
        Put("wide.bin", WideTranslationData(), linked3);
    }
    End();

    Begin("ini_form");
    {
        sample::TfrmSample form;
        auto *lang = SampleLang<i18n::TlxLangLinked>(form);
        rtl::TMemoryStream one;
        lang->WriteIniStream(one, "~!@#");
        Put("sample.ini", AsString(one.Bytes()), linked3);

        sample::TfrmOther other;
        rtl::TMemoryStream two;
        OtherLang<i18n::TlxLangLinked>(other)->WriteIniStream(two, "|");
        two.SetPosition(0);
        lang->WriteIniStream(two, "|");
        Put("two_forms.ini", AsString(two.Bytes()), linked3);
    }
    End();

    Begin("lxb");
    {
        sample::TfrmSample a, b;
        sample::TfrmOther other, alone;
        rtl::TStringList fixed;
        fixed.Add("English");
        rtl::TMemoryStream two;
        i18n::WriteLXB(two, fixed,
                       {{"TfrmOther", OtherLang<i18n::TlxLangLinked>(other)},
                        {"TfrmSample", SampleLang<i18n::TlxLangLinked>(a)}});
        Put("two_forms.lxb", AsString(two.Bytes()), linked3);
        rtl::TMemoryStream main;
        i18n::WriteLXB(main, rtl::TStringList(), {{"TfrmSample", SampleLang<i18n::TlxLang>(b)}});
        Put("main.lxb", AsString(main.Bytes()), main3);
        rtl::TMemoryStream none;
        i18n::WriteLXB(none, fixed, {{"TfrmOther", OtherLang<i18n::TlxLangLinked>(alone)}});
        Put("other_form_only.lxb", AsString(none.Bytes()), linked3);
    }
    End();

    Begin("component");
    {
        sample::TfrmSample a, b;
        Put("linked.dat", fake::StoredProperties(*SampleLang<i18n::TlxLangLinked>(a)));
        Put("main.dat", fake::StoredProperties(*SampleLang<i18n::TlxLang>(b)),
            {{"component", "TlxLang"}});
    }
    End();
}

// --- Text, chart and registry files ----------------------------------------

void WriteTextFiles()
{
    Begin("text");
    std::string tab, comma;
    for (int i = 0; i < 6; ++i) {
        const rtl::TDateTime x = At(2024, 1, 15, 10, 30, 0) + i / 86400.0;
        tab += app::GraphTextLine(x, 60.0 + i * 1.25, app::kTab);
        comma += app::GraphTextLine(x, 60.0 + i * 1.25, ',');
    }
    Put("graph.txt", tab);
    Put("graph.csv", comma);

    // The LEQ record list saved as a grid.
    usb::SimulatedMeter meter;
    meter.SetLeqRecords({{653, At(2024, 1, 15, 10, 30, 0), 0, true, true},
                         {712, At(2024, 1, 15, 11, 0, 5), 5, false, false}});
    const std::vector<uint8_t> &memory = meter.LeqMemory();
    std::string records;
    for (const TLeqRecordCells &c : DecodeLeqRecords(memory, 2))
        records += app::GridTextLine({c.Value, c.Time, c.Period, c.Weighting, c.Response}, ',');
    Put("leq_records.csv", records, {{"columns", "6"}});

    // The data-set grid saved as text.
    TDataSetStore store;
    std::vector<TDataSetGridRow> rows;
    DecodeLoggerData(ThreeSets().Build(), int(ThreeSets().Build().size()) - 1, store, rows);
    std::string sets;
    for (const TDataSetGridRow &row : rows)
        sets += app::GridTextLine(std::vector<std::string>(row.begin() + 1, row.end()), app::kTab);
    Put("data_sets.txt", sets, {{"columns", "8"}});

    // A grid line in Windows-1252, as an older file holds it, and a line too long to take.
    Put("windows_1252.txt",
        rtl::Utf8ToCodePage(
            app::GridTextLine({"Caf\xC3\xA9", "d\xC3\xA9j\xC3\xA0 vu", "\xE2\x82\xAC"}, app::kTab),
            1252));
    Put("long_line.txt", app::GridTextLine({"short", "line"}, app::kTab) +
                             app::GridTextLine({"long", std::string(200, 'x')}, app::kTab) +
                             app::GridTextLine({"never", "read"}, app::kTab));
    End();
}

void SaveChart(GXSGraph &chart, const char *name)
{
    app::SaveGraphFile(chart, QString::fromStdString((gFolder / name).string()));
    List(name);
}

void WriteCharts()
{
    Begin("chart");
    QTemporaryDir roots;
    ui::SetFolderRoots(
        {roots.path() + "/Documents", roots.path() + "/bin", roots.path() + "/data"});
    {
        GXSGraph chart;
        const rtl::TDateTime start = At(2024, 1, 15, 10, 30, 0);
        app::SetupGraph(chart, 1, 20, start, start + 19 / 86400.0, 20, 140, u"Time");
        chart.SetMainTitle(u"Set 1");
        for (int i = 0; i < 20; ++i) {
            chart.SetXDataII(0, i, start + i / 86400.0);
            chart.SetYData(0, i, 55.0f + float(i % 7));
        }
        chart.SetGraphAnnotationType(5, 2); // a cross
        chart.SetGraphAnnotationX(5, start + 4 / 86400.0);
        chart.SetGraphAnnotationY(5, 59.0);
        chart.SetGraphAnnotationType(6, 0); // a text
        chart.SetGraphAnnotationX(6, start + 9 / 86400.0);
        chart.SetGraphAnnotationY(6, 61.0);
        chart.SetGraphAnnotationText(6, u"door closed");
        SaveChart(chart, "logger_set.ghf");
    }
    {
        GXSGraph chart;
        const rtl::TDateTime start = At(2024, 6, 3, 14, 0, 0);
        app::SetupGraph(chart, 1, 100, start, start + 100 / 86400.0, 30, 130, u"Zeit");
        chart.SetMainTitle(u"Real-Time Graph");
        chart.SetYAxisLabel(u"dB(A)");
        for (int i = 0; i < 100; ++i) {
            chart.SetXDataII(0, i, start + i / 86400.0);
            chart.SetYData(0, i, 62.5f + float(i % 5) * 0.5f);
        }
        SaveChart(chart, "real_time.ghf");
    }
    ui::ResetFolderRoots();
    End();
}

void WriteRegistryFiles()
{
    Begin("registry");
    QTemporaryDir config;
    ::setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
    rtl::TRegistryBackendScope backend(rtl::TRegistryBackend::File);
    const std::string file = rtl::RegistryFileName();

    app::WriteStartSettings({0.5, 2});
    Put("program_settings.reg", golden::ReadBytes(file));

    {
        rtl::TRegistry reg;
        reg.OpenKey("\\", true);
        reg.WriteString("", "root default");
        reg.OpenKey("\\SOFTWARE\\Caf\xE9", true);
        reg.WriteString("State", "Nor\"mal\"\r\n\xE9");
        reg.WriteExpandString("Path", "%HOME%\\bin");
        reg.WriteBinaryData("Empty", nullptr, 0);
        reg.WriteInteger("Flag", -1);
        reg.WriteBool("On", true);
        reg.WriteFloat("Rate", 2.5);
        reg.OpenKey("\\SOFTWARE\\Caf\xE9\\Empty key", true);
        reg.SetRootKey(rtl::HKEY_CLASSES_ROOT);
        reg.OpenKey("\\.ghf", true);
        reg.WriteString("", "Nivora chart");
        reg.SetRootKey(rtl::HKEY_USERS);
        reg.OpenKey("\\Default", true);
        reg.WriteString("Name", "x");
        reg.CloseKey();
    }
    const std::string all = golden::ReadBytes(file);
    Put("all_types_and_roots.reg", all);
    // The same file as an editor that ends its lines with CR LF saves it.
    std::string crlf;
    for (char c : all)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    Put("crlf_lines.reg", crlf);
    ::unsetenv("XDG_CONFIG_HOME");
    End();
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: golden_write <tests/data/golden>\n");
        return 2;
    }
    if (!std::getenv("QT_QPA_PLATFORM"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication qt(argc, argv);
    gRoot = argv[1];
    rtl::SetFormatSettings(rtl::CLikeFormatSettings());
    rtl::FakeClock clock(At(2024, 1, 15, 10, 30, 0));
    rtl::ScopedClock scoped(clock);

    WriteStatus();
    WriteInformation();
    WriteLeq();
    const TLoggerImage recorded = RecordedImage(clock);
    WriteLogger(recorded);
    WriteCollections(recorded);
    WriteTranslationFiles();
    WriteTextFiles();
    WriteCharts();
    WriteRegistryFiles();
    return 0;
}
