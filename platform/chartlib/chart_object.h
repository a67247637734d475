// One chart object: its properties, its data and its transient values. The operations of
// chartlib.h find the object by handle and work through this class; the renderer reads it
// through the same class (ChartFind).
#pragma once

#include "platform/chartlib/chart_ids.h"
#include "platform/chartlib/chartlib.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace chartlib {

// Element kind of an array property: fixed by its first write; later numeric writes are
// converted to it.
enum class ElemKind : std::uint8_t { Int = 1, Double = 2, Single = 3, Text = 4 };

// An array property: one index (a single row) or two indexes (rows of columns). Rows are
// allocated as far as they are written; unwritten elements read as 0 or empty.
struct ArrayValue {
    ElemKind kind = ElemKind::Int;
    bool twoIndex = false;
    std::vector<std::vector<double>> num;          // numeric kinds
    std::vector<std::vector<std::u16string>> text; // ElemKind::Text
};

// A scalar property: the kind follows the operation that wrote it.
using ScalarValue =
    std::variant<std::int32_t, double, float, std::u16string, std::vector<std::uint8_t>>;

// The data: X, Y and Z held once as double, per subset as far as written (at most Points).
struct ChartData {
    std::int32_t subsets = 1;
    std::int32_t points = 4;
    std::array<std::vector<std::vector<double>>, 3> values; // 0 = X, 1 = Y, 2 = Z
};

// Everything a state block carries.
struct ChartState {
    ChartData data;
    std::map<std::int32_t, ScalarValue> scalars;
    std::map<std::int32_t, ArrayValue> arrays;
};

// Hook for the renderer: one per object, told when the whole state changes.
class ChartAttachment {
public:
    virtual ~ChartAttachment() = default;
    virtual void Reinitialized() {}
    virtual void StateReplaced() {}
    // A stored value (not a transient one) was written: a property, an element or the data.
    virtual void Written(std::int32_t id) {}
    // Data cells are about to be written (told before the write, Written follows): axis 0 = X,
    // 1 = Y, 2 = Z, of subset i at point j, -1 for every subset or point (a whole array is
    // -1, -1). Changes of the data's shape are told by Written alone.
    virtual void DataWriting(int axis, std::int32_t i, std::int32_t j) {}
};

class ChartObject {
public:
    ChartObject(HCHART handle, std::uint32_t objectType, const ChartRect &rect, std::int32_t id);

    HCHART Handle() const { return FHandle; }
    std::uint32_t ObjectType() const { return FObjectType; }
    std::int32_t ControlId() const { return FControlId; }
    const ChartRect &Rect() const { return FRect; }
    WindowId Parent() const { return FParent; }
    void Recreate(const ChartRect &rect, WindowId parent, std::int32_t id);

    // Scalars.
    bool SetInt(std::int32_t id, std::int32_t v);
    std::int32_t GetInt(std::int32_t id) const;
    bool SetDouble(std::int32_t id, double v);
    bool SetSingle(std::int32_t id, float v);
    bool GetDouble(std::int32_t id, double &out) const;
    bool SetText(std::int32_t id, std::u16string_view text);
    std::u16string GetText(std::int32_t id) const;
    bool SetBlock(std::int32_t id, std::span<const std::uint8_t> block);
    std::size_t GetBlock(std::int32_t id, std::span<std::uint8_t> out) const;
    // True when the property was written; the data shape, the data and ObjectType always are.
    bool Has(std::int32_t id) const;

    // Typed record access for the renderer and the control.
    template <class T> bool SetRecord(std::int32_t id, const T &rec)
    {
        return SetBlock(id, std::span(reinterpret_cast<const std::uint8_t *>(&rec), sizeof rec));
    }
    template <class T> T GetRecord(std::int32_t id) const
    {
        T rec{};
        GetBlock(id, std::span(reinterpret_cast<std::uint8_t *>(&rec), sizeof rec));
        return rec;
    }

    // Elements; j < 0 with a one-index call is not used. Numeric reads convert to double.
    bool SetElement(std::int32_t id, std::int32_t i, double v, ElemKind kind);
    bool SetElement(std::int32_t id, std::int32_t i, std::u16string_view text);
    double GetElement(std::int32_t id, std::int32_t i) const;
    std::u16string GetElementText(std::int32_t id, std::int32_t i) const;
    bool SetElement2D(std::int32_t id, std::int32_t i, std::int32_t j, double v, ElemKind kind);
    bool SetElement2D(std::int32_t id, std::int32_t i, std::int32_t j, std::u16string_view text);
    double GetElement2D(std::int32_t id, std::int32_t i, std::int32_t j) const;
    std::u16string GetElementText2D(std::int32_t id, std::int32_t i, std::int32_t j) const;
    // Element kind of an array property (data arrays: Double or Single by view); false when
    // the id holds no array.
    bool ArrayKind(std::int32_t id, ElemKind &kind) const;
    // Elements held by a one-index array (the first row of a two-index one); 0 when the id
    // holds no array.
    std::size_t ArrayLength(std::int32_t id) const;

    // Whole arrays (row-major for two-index arrays), converted straight into the store: a
    // million points cost no copy beside the one the chart keeps.
    bool SetArray(std::int32_t id, std::span<const double> values, ElemKind kind);
    bool SetArray(std::int32_t id, std::span<const float> values, ElemKind kind);
    bool SetArray(std::int32_t id, std::span<const std::int32_t> values, ElemKind kind);
    std::size_t GetArray(std::int32_t id, std::span<double> out) const;

    // The data.
    std::int32_t Subsets() const { return FState.data.subsets; }
    std::int32_t Points() const { return FState.data.points; }
    bool SetSubsets(std::int32_t n);
    bool SetPoints(std::int32_t n);
    // 0 = X, 1 = Y, 2 = Z: the values written so far of one subset (at most Points); the rest
    // of the subset reads as 0.
    std::span<const double> DataRow(int axis, std::int32_t subset) const;
    // True when the X values written of a subset are in order (none below the one before it,
    // no NaN); kept up to date by every write.
    bool XAscending(std::int32_t subset) const;

    const ChartState &State() const { return FState; }
    // Replaces the whole state (after a validated restore); transient values stay.
    void ReplaceState(ChartState &&state);

    ChartAttachment *Attachment() const { return FAttachment.get(); }
    void SetAttachment(std::unique_ptr<ChartAttachment> a) { FAttachment = std::move(a); }

private:
    ScalarValue *FindScalar(std::int32_t id);
    const ScalarValue *FindScalar(std::int32_t id) const;
    std::map<std::int32_t, ScalarValue> &ScalarMap(std::int32_t id);

    HCHART FHandle;
    std::uint32_t FObjectType;
    ChartRect FRect;
    WindowId FParent = 0;
    std::int32_t FControlId;
    // Whether the chart's texts may change by the given UTF-16 units (kMaxChartTextBytes).
    bool TextFits(std::size_t removed, std::size_t added) const;
    void RecountText();
    void ForgetText(std::int32_t id); // a scalar text about to be replaced by another kind
    void Wrote(std::int32_t id);      // tells the attachment
    void RecountXDescents();
    void RecountXDescents(std::size_t row);
    template <class T> bool SetArrayOf(std::int32_t id, std::span<const T> values, ElemKind kind);
    // Takes out (add false) or puts back the descents at X value c of row r and its successor.
    void XDescentsAround(std::size_t r, std::size_t c, bool add);

    ChartState FState;
    std::size_t FTextUnits = 0;          // UTF-16 units of all texts held
    std::vector<std::size_t> FXDescents; // per subset: X values below the one before them
    std::map<std::int32_t, ScalarValue> FTransient;
    std::unique_ptr<ChartAttachment> FAttachment;
};

// The object behind a handle, or null.
ChartObject *ChartFind(HCHART h);

// Helpers shared with the state block code.
int DataAxisOf(std::int32_t id);                    // 0..2 for the data ids, -1 otherwise
bool IsDataShaped(std::int32_t id);                 // per-point arrays bounded by Subsets x Points
double ToKind(double v, ElemKind kind);             // the value as the kind holds it
std::u16string CleanText(std::u16string_view text); // up to the first NUL, capped

} // namespace chartlib
