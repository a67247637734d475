#include "platform/chartlib/chartlib.h"

#include "platform/chartlib/chart_object.h"
#include "platform/chartlib/state_block.h"

#include <algorithm>
#include <map>
#include <memory>

namespace chartlib {

namespace {

// Live objects by handle. Handles are never reused within a run, so a stale handle names
// nothing; they stay above every number an object type could have, so that ChartCreate can
// tell the two apart.
struct Registry {
    std::map<HCHART, std::unique_ptr<ChartObject>> objects;
    HCHART next = 0x00010001;
};

Registry &Objects()
{
    static Registry r;
    return r;
}

constexpr std::uint32_t kMaxObjectType = 9999;

std::int32_t CopyText(const std::u16string &text, char16_t *buffer, std::size_t capacity)
{
    if (!buffer || capacity == 0)
        return -1;
    std::size_t n = std::min(text.size(), capacity - 1);
    std::copy_n(text.data(), n, buffer);
    buffer[n] = u'\0';
    return std::int32_t(n);
}

template <class T> bool SetSpan(HCHART h, std::int32_t id, std::span<const T> values, ElemKind k)
{
    ChartObject *o = ChartFind(h);
    return o && !values.empty() && o->SetArray(id, values, k);
}

template <class T> std::size_t GetSpan(HCHART h, std::int32_t id, std::span<T> out)
{
    std::fill(out.begin(), out.end(), T{});
    ChartObject *o = ChartFind(h);
    if (!o || out.empty())
        return 0;
    std::vector<double> v(out.size());
    std::size_t n = o->GetArray(id, v);
    for (std::size_t k = 0; k < out.size(); ++k)
        out[k] = T(v[k]);
    return n;
}

} // namespace

ChartObject *ChartFind(HCHART h)
{
    auto &objs = Objects().objects;
    auto it = objs.find(h);
    return it == objs.end() ? nullptr : it->second.get();
}

HCHART ChartCreate(std::uint32_t typeOrOld, std::int32_t, const ChartRect *rect, WindowId parent,
                   std::int32_t id)
{
    ChartRect r = rect ? *rect : ChartRect{0, 0, 300, 300};
    if (ChartObject *old = ChartFind(typeOrOld)) {
        old->Recreate(r, parent, id);
        return old->Handle();
    }
    if (typeOrOld != kObjectTypeGraph && typeOrOld != kObjectTypeScientificGraph)
        return 0; // not a type the engine knows
    Registry &reg = Objects();
    while (reg.next == 0 || reg.next <= kMaxObjectType || reg.objects.count(reg.next))
        ++reg.next;
    HCHART h = reg.next++;
    auto obj = std::make_unique<ChartObject>(h, typeOrOld, r, id);
    obj->Recreate(r, parent, id);
    reg.objects.emplace(h, std::move(obj));
    return h;
}

bool ChartDestroy(HCHART h)
{
    return Objects().objects.erase(h) != 0;
}

bool ChartReinitialize(HCHART h)
{
    ChartObject *o = ChartFind(h);
    if (!o)
        return false;
    if (o->Attachment())
        o->Attachment()->Reinitialized();
    return true;
}

bool ChartSetInt(HCHART h, std::int32_t id, std::int32_t value)
{
    ChartObject *o = ChartFind(h);
    return o && o->SetInt(id, value);
}

std::int32_t ChartGetInt(HCHART h, std::int32_t id)
{
    ChartObject *o = ChartFind(h);
    return o ? o->GetInt(id) : 0;
}

bool ChartSetProperty(HCHART h, std::int32_t id, double value)
{
    ChartObject *o = ChartFind(h);
    return o && o->SetDouble(id, value);
}

bool ChartSetProperty(HCHART h, std::int32_t id, float value)
{
    ChartObject *o = ChartFind(h);
    return o && o->SetSingle(id, value);
}

bool ChartGetProperty(HCHART h, std::int32_t id, double &out)
{
    out = 0;
    ChartObject *o = ChartFind(h);
    return o && o->GetDouble(id, out);
}

bool ChartGetProperty(HCHART h, std::int32_t id, float &out)
{
    double d = 0;
    bool ok = ChartGetProperty(h, id, d);
    out = float(d);
    return ok;
}

bool ChartSetProperty(HCHART h, std::int32_t id, std::span<const double> values)
{
    return SetSpan(h, id, values, ElemKind::Double);
}

bool ChartSetProperty(HCHART h, std::int32_t id, std::span<const float> values)
{
    return SetSpan(h, id, values, ElemKind::Single);
}

bool ChartSetProperty(HCHART h, std::int32_t id, std::span<const std::int32_t> values)
{
    return SetSpan(h, id, values, ElemKind::Int);
}

std::size_t ChartGetProperty(HCHART h, std::int32_t id, std::span<double> out)
{
    return GetSpan(h, id, out);
}

std::size_t ChartGetProperty(HCHART h, std::int32_t id, std::span<float> out)
{
    return GetSpan(h, id, out);
}

std::size_t ChartGetProperty(HCHART h, std::int32_t id, std::span<std::int32_t> out)
{
    return GetSpan(h, id, out);
}

bool ChartSetProperty(HCHART h, std::int32_t id, std::span<const std::uint8_t> block)
{
    ChartObject *o = ChartFind(h);
    return o && o->SetBlock(id, block);
}

std::size_t ChartGetProperty(HCHART h, std::int32_t id, std::span<std::uint8_t> out)
{
    std::fill(out.begin(), out.end(), std::uint8_t(0));
    ChartObject *o = ChartFind(h);
    return o ? o->GetBlock(id, out) : 0;
}

bool ChartSetString(HCHART h, std::int32_t id, std::u16string_view text)
{
    ChartObject *o = ChartFind(h);
    return o && o->SetText(id, text);
}

std::int32_t ChartGetString(HCHART h, std::int32_t id, char16_t *buffer, std::size_t capacity)
{
    ChartObject *o = ChartFind(h);
    return CopyText(o ? o->GetText(id) : std::u16string(), buffer, capacity);
}

bool ChartSetElement(HCHART h, std::int32_t id, std::int32_t i, std::int32_t value)
{
    ChartObject *o = ChartFind(h);
    return o && o->SetElement(id, i, value, ElemKind::Int);
}

bool ChartSetElement(HCHART h, std::int32_t id, std::int32_t i, double value)
{
    ChartObject *o = ChartFind(h);
    return o && o->SetElement(id, i, value, ElemKind::Double);
}

bool ChartSetElement(HCHART h, std::int32_t id, std::int32_t i, float value)
{
    ChartObject *o = ChartFind(h);
    return o && o->SetElement(id, i, value, ElemKind::Single);
}

bool ChartSetElement(HCHART h, std::int32_t id, std::int32_t i, std::u16string_view text)
{
    ChartObject *o = ChartFind(h);
    return o && o->SetElement(id, i, text);
}

bool ChartGetElement(HCHART h, std::int32_t id, std::int32_t i, std::int32_t &out)
{
    ChartObject *o = ChartFind(h);
    out = o ? std::int32_t(ToKind(o->GetElement(id, i), ElemKind::Int)) : 0;
    return o != nullptr;
}

std::size_t ChartArrayLength(HCHART h, std::int32_t id)
{
    const ChartObject *o = ChartFind(h);
    return o ? o->ArrayLength(id) : 0;
}

bool ChartGetElement(HCHART h, std::int32_t id, std::int32_t i, double &out)
{
    ChartObject *o = ChartFind(h);
    out = o ? o->GetElement(id, i) : 0;
    return o != nullptr;
}

bool ChartGetElement(HCHART h, std::int32_t id, std::int32_t i, float &out)
{
    ChartObject *o = ChartFind(h);
    out = o ? float(o->GetElement(id, i)) : 0;
    return o != nullptr;
}

std::int32_t ChartGetElement(HCHART h, std::int32_t id, std::int32_t i, char16_t *buffer,
                             std::size_t capacity)
{
    ChartObject *o = ChartFind(h);
    return CopyText(o ? o->GetElementText(id, i) : std::u16string(), buffer, capacity);
}

bool ChartSetElement2D(HCHART h, std::int32_t id, std::int32_t i, std::int32_t j,
                       std::int32_t value)
{
    ChartObject *o = ChartFind(h);
    return o && o->SetElement2D(id, i, j, value, ElemKind::Int);
}

bool ChartSetElement2D(HCHART h, std::int32_t id, std::int32_t i, std::int32_t j, double value)
{
    ChartObject *o = ChartFind(h);
    return o && o->SetElement2D(id, i, j, value, ElemKind::Double);
}

bool ChartSetElement2D(HCHART h, std::int32_t id, std::int32_t i, std::int32_t j, float value)
{
    ChartObject *o = ChartFind(h);
    return o && o->SetElement2D(id, i, j, value, ElemKind::Single);
}

bool ChartSetElement2D(HCHART h, std::int32_t id, std::int32_t i, std::int32_t j,
                       std::u16string_view text)
{
    ChartObject *o = ChartFind(h);
    return o && o->SetElement2D(id, i, j, text);
}

bool ChartGetElement2D(HCHART h, std::int32_t id, std::int32_t i, std::int32_t j, std::int32_t &out)
{
    ChartObject *o = ChartFind(h);
    out = o ? std::int32_t(ToKind(o->GetElement2D(id, i, j), ElemKind::Int)) : 0;
    return o != nullptr;
}

bool ChartGetElement2D(HCHART h, std::int32_t id, std::int32_t i, std::int32_t j, double &out)
{
    ChartObject *o = ChartFind(h);
    out = o ? o->GetElement2D(id, i, j) : 0;
    return o != nullptr;
}

bool ChartGetElement2D(HCHART h, std::int32_t id, std::int32_t i, std::int32_t j, float &out)
{
    ChartObject *o = ChartFind(h);
    out = o ? float(o->GetElement2D(id, i, j)) : 0;
    return o != nullptr;
}

std::int32_t ChartGetElement2D(HCHART h, std::int32_t id, std::int32_t i, std::int32_t j,
                               char16_t *buffer, std::size_t capacity)
{
    ChartObject *o = ChartFind(h);
    return CopyText(o ? o->GetElementText2D(id, i, j) : std::u16string(), buffer, capacity);
}

std::vector<std::uint8_t> ChartStoreState(HCHART h)
{
    ChartObject *o = ChartFind(h);
    return o ? EncodeState(o->State()) : std::vector<std::uint8_t>();
}

bool ChartLoadState(HCHART h, std::span<const std::uint8_t> block)
{
    ChartObject *o = ChartFind(h);
    if (!o)
        return false;
    auto state = DecodeState(block);
    if (!state)
        return false;
    o->ReplaceState(std::move(*state));
    return true;
}

std::int32_t ChartAppendFromURL(HCHART, std::u16string_view, std::uint32_t)
{
    return 0;
}

} // namespace chartlib
