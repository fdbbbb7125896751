#pragma once

#include "diary/weight_record.h"
#include "platform/document.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The diary: weights by day in one ordered sequence, with the unit text and
// the decimal digits of the scale labels, which travel in the file. Records
// are reached by index; no index is checked, callers keep 0 <= index < count.
// Nothing here validates weights or dates: they are stored as they come.
class CTarelogDoc : public CDocument {
public:
    CTarelogDoc();
    ~CTarelogDoc() override;

    // Insert the day's weight at its date position, or replace the weight of
    // the record of that day; then update the views and set the modified flag.
    void SetDayWeight(double weight, int year, int month, int day);

    double GetLastWeight() const; // 0.0 without records
    double GetMaxWeight() const;  // largest non-zero weight, or -50000.0
    double GetMinWeight() const;  // smallest weight, or 50000.0
    // Both of the above in one pass over the records, for the graph.
    struct WeightRange {
        double min;
        double max;
    };
    WeightRange GetWeightRange() const;
    int GetDaySpan() const; // first to last record in days; 1 below two records
    int GetDayOffset(int index) const;

    int GetRecordCount() const { return static_cast<int>(m_records.size()); }
    // Counts as a change: the caller may write through the reference.
    WeightRecord& GetRecord(int index)
    {
        Changed();
        return m_records[static_cast<std::size_t>(index)];
    }
    const WeightRecord& GetRecord(int index) const { return m_records[static_cast<std::size_t>(index)]; }
    const std::vector<WeightRecord>& Records() const { return m_records; }

    void RemoveRecord(int index);
    void AppendRecord(const WeightRecord& record);
    void RemoveAllRecords();
    // Room for `count` records without reallocating, for loaders that know it.
    void ReserveRecords(std::size_t count) { m_records.reserve(count); }

    bool OnNewDocument() override;
    void Serialize(CArchive& archive) override;
    // The storing half of Serialize, for savers that hold a const document.
    void Store(CArchive& archive) const;
    // Takes over the records, unit and digits of `loaded` (a loader's scratch
    // document) in one move; views, path and modified flag stay as they are.
    void TakeContents(CTarelogDoc& loaded);

    // Differs after every change of the records from every value any
    // document has had, so that what was worked out from them (a window's
    // trend between paints) can tell whether it still holds.
    std::uint64_t Revision() const { return m_revision; }

    int m_digits = 0;
    std::u16string m_unit = u"k";

private:
    void Changed();

    // Contiguous rather than one allocation per record: indexes, order and
    // results are the same, and a million records load in one block.
    std::vector<WeightRecord> m_records;
    std::uint64_t m_revision = 0;
};

// Whole days between two records' dates, truncated toward zero and
// saturated to the int range.
int DaysBetweenRecords(const WeightRecord& from, const WeightRecord& to);

// The document's GetWeightRange and GetDaySpan of any run of records, so
// that a part of a diary is measured by the same rules as a whole one.
CTarelogDoc::WeightRange WeightRangeOf(std::span<const WeightRecord> records);
int DaySpanOf(std::span<const WeightRecord> records);
