// Form placement in the registry: a normal window stores its state and bounds and gets them back; a
// maximized or minimized one stores its state only and comes back in that state with the bounds it
// was designed with; incomplete or damaged values, an inactive storage and a storage without a form
// change nothing.
#include "i18n/lx_formstorage.h"

#include "platform/rtl/registry.h"
#include "platform/rtl/typinfo.h"

#include <gtest/gtest.h>

#include <memory>

using namespace i18n;

namespace {

class TForm : public rtl::TComponent {
    RTL_DECLARE_CLASS(TForm)
public:
    using rtl::TComponent::TComponent;
    // The form's parts are still there while its components go.
    ~TForm() override { DestroyComponents(); }
    int Left = 10, Top = 20, Width = 300, Height = 200;
    int WindowState = 0;
};

RTL_IMPLEMENT_PUBLISHED_CLASS(TForm, rtl::TComponent)
{
    P.Integer(
        "Left", "Integer", [](TForm &f) { return f.Left; }, [](TForm &f, int v) { f.Left = v; });
    P.Integer(
        "Top", "Integer", [](TForm &f) { return f.Top; }, [](TForm &f, int v) { f.Top = v; });
    P.Integer(
        "Width", "Integer", [](TForm &f) { return f.Width; }, [](TForm &f, int v) { f.Width = v; });
    P.Integer(
        "Height", "Integer", [](TForm &f) { return f.Height; },
        [](TForm &f, int v) { f.Height = v; });
    P.Enumeration(
        "WindowState", "TWindowState", {"wsNormal", "wsMinimized", "wsMaximized"},
        [](TForm &f) { return f.WindowState; }, [](TForm &f, int v) { f.WindowState = v; });
}

const char kKey[] = "\\Software\\Nivora\\Test";

// A designed form whose storage is loaded with it (which restores).
std::unique_ptr<TForm> LoadForm(bool active = true)
{
    auto form = std::make_unique<TForm>();
    auto *storage = new TlxFormStorage(form.get());
    storage->Loading();
    storage->SetActive(active);
    storage->SetSubKey(kKey);
    storage->Loaded();
    return form;
}

// What the registry holds: the state, and each bound there is.
std::string Stored()
{
    rtl::TRegistry reg;
    if (!reg.OpenKeyReadOnly(kKey))
        return "no key";
    std::string s = reg.ReadString("State");
    for (const char *name : {"Top", "Left", "Height", "Width"})
        if (reg.ValueExists(name))
            s += std::string(" ") + name + "=" + std::to_string(reg.ReadInteger(name));
    return s;
}

void Write(std::initializer_list<std::pair<const char *, int>> values, const char *state)
{
    rtl::TRegistry reg;
    reg.OpenKey(kKey, true);
    if (state)
        reg.WriteString("State", state);
    for (const auto &[name, value] : values)
        reg.WriteInteger(name, value);
}

} // namespace

TEST(FormStorage, ANormalWindowKeepsItsBoundsAndAMaximizedOneOnlyItsState)
{
    rtl::TRegistryBackendScope memory;
    {
        auto form = LoadForm(); // nothing stored yet: as designed
        EXPECT_EQ(form->Left, 10);
        form->Left = 11;
        form->Top = 22;
        form->Width = 333;
        form->Height = 244;
    }
    EXPECT_EQ(Stored(), "Normal Top=22 Left=11 Height=244 Width=333");
    {
        auto form = LoadForm();
        EXPECT_EQ(form->Left, 11);
        EXPECT_EQ(form->Width, 333);
    }

    rtl::ClearMemoryRegistry();
    {
        auto form = LoadForm();
        form->WindowState = 2;
        form->Left = 0;
    }
    EXPECT_EQ(Stored(), "Maximized");
    {
        auto form = LoadForm(); // maximized, with the designed bounds
        EXPECT_EQ(form->WindowState, 2);
        EXPECT_EQ(form->Left, 10);
        EXPECT_EQ(form->Width, 300);
    }
    rtl::ClearMemoryRegistry();
    Write({}, "Minimized");
    EXPECT_EQ(LoadForm()->WindowState, 1);
}

TEST(FormStorage, IncompleteOrDamagedValuesAndInactiveStoragesChangeNothing)
{
    rtl::TRegistryBackendScope memory;
    auto designed = [](const TForm &f) {
        return f.Left == 10 && f.Top == 20 && f.Width == 300 && f.Height == 200 &&
               f.WindowState == 0;
    };
    // "Normal" without "Width"; a bound stored as text; a state too short to tell; an unknown state
    // with whole bounds takes only the bounds.
    Write({{"Top", 1}, {"Left", 2}, {"Height", 3}}, "Normal");
    EXPECT_TRUE(designed(*LoadForm()));
    rtl::ClearMemoryRegistry();
    {
        rtl::TRegistry reg;
        reg.OpenKey(kKey, true);
        reg.WriteString("Top", "12");
    }
    Write({{"Left", 2}, {"Height", 3}, {"Width", 4}}, "Normal");
    EXPECT_TRUE(designed(*LoadForm()));
    rtl::ClearMemoryRegistry();
    Write({{"Top", 1}, {"Left", 2}, {"Height", 3}, {"Width", 4}}, "No");
    {
        auto form = LoadForm(true);
        EXPECT_EQ(form->WindowState, 0);
        EXPECT_EQ(form->Left, 2);
        form->Left = 10;
        form->Top = 20;
        form->Height = 200;
        form->Width = 300;
    }

    // Inactive: nothing is read, nothing is written, no key is made.
    rtl::ClearMemoryRegistry();
    Write({{"Top", 1}, {"Left", 2}, {"Height", 3}, {"Width", 4}}, "Maximized");
    {
        auto form = LoadForm(false);
        EXPECT_TRUE(designed(*form));
        form->WindowState = 0;
    }
    EXPECT_EQ(Stored(), "Maximized Top=1 Left=2 Height=3 Width=4");
    rtl::ClearMemoryRegistry();
    LoadForm(false);
    EXPECT_EQ(Stored(), "no key");

    // Without a form there is nothing to place; on a component that is no form it cannot be made.
    delete new TlxFormStorage(nullptr);
    EXPECT_EQ(Stored(), "no key");
    rtl::TComponent notAForm;
    EXPECT_THROW(TlxFormStorage storage(&notAForm), rtl::EInvalidCast);
}
