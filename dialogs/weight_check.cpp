#include "dialogs/weight_check.h"

#include "diary/tarelog_doc.h"
#include "platform/format.h"

#include <cmath>

bool NeedsWeightConfirmation(double weight, std::optional<double> latest)
{
    if (!latest || *latest == 0.0 || !std::isfinite(*latest))
        return false;
    return std::fabs(weight - *latest) > kImplausibleChange * std::fabs(*latest);
}

std::optional<double> LatestWeightBesides(const CTarelogDoc& doc, int editedIndex)
{
    int last = doc.GetRecordCount() - 1;
    if (last == editedIndex)
        --last;
    if (last < 0)
        return std::nullopt;
    return doc.GetRecord(last).weight;
}

std::string WeightConfirmationText(double weight, double latest)
{
    return "入力した体重 " + ShortestDouble(weight) + " は、最新の体重 " + ShortestDouble(latest)
        + " と20%を超えて違います。\nこのまま記録しますか？";
}
