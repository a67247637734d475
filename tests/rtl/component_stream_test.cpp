// Whole components in a stream: a component and the ones it owns come back
// with their properties and names, their Loaded runs once all are read, and
// a stream that is damaged, names another class or holds what the reader's
// rules refuse raises EReadError and leaves nothing half made behind.
#include "platform/rtl/classes.h"
#include "platform/rtl/component_stream.h"
#include "platform/rtl/streams.h"
#include "platform/rtl/typinfo.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Components of this test count how many of them live and remember the
// order of their Loaded calls.
int gAlive = 0;
std::vector<std::string> gLoaded;

class TPanel : public rtl::TComponent {
    RTL_DECLARE_CLASS(TPanel)
public:
    explicit TPanel(rtl::TComponent *owner) : rtl::TComponent(owner) { ++gAlive; }
    ~TPanel() override { --gAlive; }
    void Loaded() override
    {
        // The owned components are there already.
        gLoaded.push_back(Name() + ":" + std::to_string(ComponentCount()));
        rtl::TComponent::Loaded();
    }
    std::string Caption;
    double Ratio = 0;
};

class TOther : public rtl::TComponent {
    RTL_DECLARE_CLASS(TOther)
public:
    using rtl::TComponent::TComponent;
};

RTL_IMPLEMENT_PUBLISHED_CLASS(TPanel, rtl::TComponent)
{
    P.String(
        "Caption", "TCaption", [](TPanel &p) { return p.Caption; },
        [](TPanel &p, const std::string &v) { p.Caption = v; });
    P.Float(
        "Ratio", "Double", [](TPanel &p) { return p.Ratio; },
        [](TPanel &p, double v) { p.Ratio = v; });
}
RTL_IMPLEMENT_CLASS(TOther, rtl::TComponent)

struct Registered {
    Registered()
    {
        rtl::RegisterClass<TPanel>();
        rtl::RegisterClass<TOther>();
    }
} const registered;

TPanel *MakePanel(rtl::TComponent *owner, const std::string &name, const std::string &caption)
{
    auto *p = new TPanel(owner);
    p->SetName(name);
    p->Caption = caption;
    return p;
}

std::vector<uint8_t> Streamed(rtl::TComponent &component)
{
    rtl::TMemoryStream s;
    rtl::WriteComponent(s, component);
    return s.Bytes();
}

rtl::TMemoryStream StreamOf(const std::vector<uint8_t> &bytes)
{
    rtl::TMemoryStream s;
    if (!bytes.empty())
        s.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    s.SetPosition(0);
    return s;
}

} // namespace

TEST(ComponentStreaming, ATreeComesBackWithItsPropertiesAndLoadsOnceWhole)
{
    std::vector<uint8_t> bytes;
    {
        TPanel root(nullptr);
        root.SetName("Main");
        root.Caption = "Top";
        root.Ratio = 0.25;
        TPanel *left = MakePanel(&root, "Left", "Links \xE4");
        MakePanel(left, "Inner", "deep");
        MakePanel(&root, "Right", "");
        bytes = Streamed(root);
    }
    ASSERT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "NVC1");

    gLoaded.clear();
    TPanel copy(nullptr);
    rtl::TMemoryStream s = StreamOf(bytes);
    rtl::ReadComponent(s, copy);
    EXPECT_EQ(copy.Name(), "Main");
    EXPECT_EQ(copy.Caption, "Top");
    EXPECT_DOUBLE_EQ(copy.Ratio, 0.25);
    ASSERT_EQ(copy.ComponentCount(), 2);
    auto *left = dynamic_cast<TPanel *>(copy.FindComponent("Left"));
    ASSERT_NE(left, nullptr);
    EXPECT_EQ(left->Caption, "Links \xE4");
    ASSERT_EQ(left->ComponentCount(), 1);
    EXPECT_EQ(static_cast<TPanel *>(left->Components(0))->Caption, "deep");
    EXPECT_EQ(s.Position(), s.Size());
    // Every component read ends loading, the root first, each with its own
    // components already in place.
    EXPECT_EQ(gLoaded, (std::vector<std::string>{"Main:2", "Left:1", "Inner:0", "Right:0"}));
    EXPECT_FALSE(copy.HasState(rtl::csLoading));
    EXPECT_FALSE(left->HasState(rtl::csLoading | rtl::csReading));
}

TEST(ComponentStreaming, RefusedStreamsRaiseAReadErrorAndDropWhatTheyMade)
{
    std::vector<uint8_t> bytes;
    {
        TPanel root(nullptr);
        root.SetName("Main");
        TPanel *a = MakePanel(&root, "A", "a");
        MakePanel(a, "B", "b");
        bytes = Streamed(root);
    }
    const int alive = gAlive;
    auto refused = [&](const std::vector<uint8_t> &stream, const rtl::TComponentReadRules &rules,
                       const char *what) {
        TPanel target(nullptr);
        rtl::TMemoryStream s = StreamOf(stream);
        EXPECT_THROW(rtl::ReadComponent(s, target, rules), rtl::EReadError) << what;
        EXPECT_EQ(target.ComponentCount(), 0) << what;
        EXPECT_FALSE(target.HasState(rtl::csLoading | rtl::csReading)) << what;
        EXPECT_EQ(gAlive, alive + 1) << what; // only the target itself
    };

    for (size_t cut = 0; cut < bytes.size(); ++cut)
        refused(std::vector<uint8_t>(bytes.begin(), bytes.begin() + cut), {},
                ("cut at " + std::to_string(cut)).c_str());
    std::vector<uint8_t> signature = bytes;
    signature[1] = 'v';
    refused(signature, {}, "signature");
    rtl::TComponentReadRules noOwned;
    noOwned.OwnedComponents = false;
    refused(bytes, noOwned, "owned components refused");

    // A stream of another class is not read into this one.
    TOther other(nullptr);
    other.SetName("X");
    const std::vector<uint8_t> otherBytes = Streamed(other);
    refused(otherBytes, {}, "another class");
    // An owned component of a class nobody registered.
    std::vector<uint8_t> stranger;
    {
        TPanel holder(nullptr);
        holder.SetName("Holder");
        MakePanel(&holder, "Known", "k");
        (new TOther(&holder))->SetName("Stranger");
        stranger = Streamed(holder);
    }
    rtl::UnRegisterClass(TOther::StaticClassInfo());
    refused(stranger, {}, "unregistered owned class");
    rtl::RegisterClass<TOther>();
}
