// The base of the main window's test fixtures: the window on the simulated
// meter with a fake clock, an in-memory registry, temporary folders and
// scripted UI services.
#pragma once

#include "app/main_form.h"

#include "meter/link_guard.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/registry.h"
#include "platform/ui/ui_services_script.h"
#include "platform/usb/sim/simulated_meter.h"
#include "tests/support/temp_folders.h"
#include "views/show_modal.h"

#include <QDialog>
#include <QFile>

#include <gtest/gtest.h>

#include <memory>

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() : clockScope_(clock_), servicesScope_(services_) {}

    // A modal window that a test did not expect fails it instead of waiting
    // for a user; tests that expect one install their own runner.
    views::TModalRunnerScope unexpectedModal_{[](QDialog &dialog) {
        ADD_FAILURE() << "unexpected modal window " << dialog.objectName().toStdString();
        return ui::mrCancel;
    }};
    ~MainWindowTest() override
    {
        form_.reset();
        meter::TLinkGuard::Instance().Release();
    }

    // Makes and shows the main window (FormCreate, then FormShow).
    app::TfrmMain &Start()
    {
        form_ = std::make_unique<app::TfrmMain>(meter_);
        form_->show();
        return *form_;
    }
    // MainTimer ticks.
    void Tick(int n = 1)
    {
        for (int i = 0; i < n; ++i)
            form_->MainTimerTimer();
    }
    // A file in the temporary folder; its bytes ("<missing>" when it cannot be read).
    QString File(const QString &name) const { return dir_.path() + "/" + name; }
    static QByteArray Read(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    static void Write(const QString &path, const QByteArray &bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }

    rtl::FakeClock clock_{46000.5};
    rtl::ScopedClock clockScope_;
    rtl::TRegistryBackendScope registry_;
    ui::TScriptedUIServices services_;
    ui::TServicesScope servicesScope_;
    testsupport::TTempFolders dir_;
    usb::SimulatedMeter meter_;
    std::unique_ptr<app::TfrmMain> form_;
};

// Dates day first and times of 24 hours, as the text files of the tests are written.
struct TDayFirstSettings {
    TDayFirstSettings()
    {
        rtl::TFormatSettings s = rtl::CLikeFormatSettings();
        s.ShortDateFormat = "dd/MM/yyyy";
        s.LongTimeFormat = "hh:nn:ss";
        rtl::SetFormatSettings(s);
    }
    ~TDayFirstSettings() { rtl::SetFormatSettings(saved); }
    rtl::TFormatSettings saved = rtl::FormatSettings();
};
