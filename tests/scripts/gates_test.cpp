// The two gates in front of the tests: a source that .clang-format would
// change and a warning in the project's own code each stop scripts/test.sh.
// The project's own code is all of it: libraries, tests and their support,
// benchmarks and fuzz targets.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

struct TRun {
    int Code = -1;
    QString Output;
};

TRun RunTool(const QString &program, const QStringList &arguments, const QString &dir = QString())
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    if (!dir.isEmpty())
        p.setWorkingDirectory(dir);
    p.start(program, arguments);
    if (!p.waitForFinished(240000))
        return {};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromLocal8Bit(p.readAll())};
}

void Write(const QString &fileName, const QByteArray &bytes)
{
    QFile f(fileName);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

TEST(FormatGate, AFileThatIsNotFormattedFailsTheCheck)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString good = dir.filePath("good.cpp");
    const QString bad = dir.filePath("bad.cpp");
    Write(good, "int Answer()\n{\n    return 42;\n}\n");
    Write(bad, "int Answer( ) { return 42; }\n");
    const QString script = QStringLiteral(NIVORA_SOURCE_DIR "/scripts/check-format.sh");

    const TRun passed = RunTool("bash", {script, good});
    EXPECT_EQ(passed.Code, 0) << passed.Output.toStdString();
    const TRun failed = RunTool("bash", {script, good, bad});
    EXPECT_NE(failed.Code, 0);
    EXPECT_TRUE(failed.Output.contains("not formatted: " + bad)) << failed.Output.toStdString();
    EXPECT_FALSE(failed.Output.contains("not formatted: " + good));
}

// One warning (-Wdangling-else) in a source of the project's own kind.
constexpr const char *kDanglingElse = "int Sign(int a, int b)\n"
                                      "{\n"
                                      "    if (a)\n"
                                      "        if (b)\n"
                                      "            return 1;\n"
                                      "        else\n"
                                      "            return 2;\n"
                                      "    return 0;\n"
                                      "}\n";

// A warning in a library of the project's own kind, a benchmark, a fuzz target
// or the tests' support code, each made the way its folder makes it (the
// helpers of cmake/NivoraHelpers.cmake, the library of tests/support itself),
// fails the build only with the gate on.
TEST(WarningGate, AWarningInTheProjectsCodeFailsTheBuildOnlyWithTheGateOn)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Write(dir.filePath("CMakeLists.txt"),
          "cmake_minimum_required(VERSION 3.25)\n"
          "project(Probe LANGUAGES CXX)\n"
          "include(" NIVORA_SOURCE_DIR "/cmake/NivoraHelpers.cmake)\n"
          "find_package(benchmark REQUIRED)\n"
          "find_package(GTest REQUIRED)\n"
          "find_package(Qt6 REQUIRED COMPONENTS Widgets)\n"
          "nivora_library(probe SOURCES probe.cpp)\n"
          "nivora_bench(probe_bench SOURCES probe.cpp)\n"
          "nivora_fuzz(probe_fuzz SOURCES probe.cpp SEEDS probe)\n"
          "add_subdirectory(" NIVORA_SOURCE_DIR "/tests/support support)\n"
          "target_sources(nivora_test_main_qt PRIVATE ${PROJECT_SOURCE_DIR}/probe.cpp)\n");
    ASSERT_TRUE(QDir(dir.path()).mkpath("tests/data/golden/probe"));
    Write(dir.filePath("tests/data/golden/probe/seed"), "seed");
    Write(dir.filePath("probe.cpp"), kDanglingElse);
    // gcc: [-Werror=dangling-else]; clang: [-Werror,-Wdangling-else].
    const QRegularExpression asError(R"(-Werror[=,](-W)?dangling-else)");
    for (const bool gate : {false, true}) {
        const QString build = dir.filePath(gate ? "on" : "off");
        const TRun configured = RunTool(
            NIVORA_CMAKE, {"-S", dir.path(), "-B", build, "-DCMAKE_CXX_COMPILER=" NIVORA_CXX,
                           gate ? "-DNIVORA_WERROR=ON" : "-DNIVORA_WERROR=OFF"});
        ASSERT_EQ(configured.Code, 0) << configured.Output.toStdString();
        for (const char *target : {"probe", "probe_bench", "probe_fuzz", "nivora_test_main_qt"}) {
            const TRun built = RunTool(NIVORA_CMAKE, {"--build", build, "--target", target});
            EXPECT_TRUE(built.Output.contains("dangling-else")) << target << "\n"
                                                                << built.Output.toStdString();
            if (gate) {
                EXPECT_NE(built.Code, 0) << target;
                EXPECT_TRUE(built.Output.contains(asError)) << target << "\n"
                                                            << built.Output.toStdString();
            } else {
                EXPECT_FALSE(built.Output.contains(asError)) << target;
                // A fuzz target links only with clang's libFuzzer; the others build.
                if (std::string(target) != "probe_fuzz") {
                    EXPECT_EQ(built.Code, 0) << target << "\n" << built.Output.toStdString();
                }
            }
        }
    }
}

} // namespace
