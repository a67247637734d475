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

    rtl::FakeClock clock_{46000.5};
    rtl::ScopedClock clockScope_;
    rtl::TRegistryBackendScope registry_;
    ui::TScriptedUIServices services_;
    ui::TServicesScope servicesScope_;
    testsupport::TTempFolders dir_;
    usb::SimulatedMeter meter_;
    std::unique_ptr<app::TfrmMain> form_;
};
