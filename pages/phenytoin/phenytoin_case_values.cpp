#include "pages/phenytoin/phenytoin_case_values.h"

#include <QLineEdit>

#include "engine/phenytoin_forecast.h"
#include "records/text_format.h"

void ShowNumber(QLineEdit* field, const std::optional<double>& value, const char* format) {
    field->setText(value ? QString::fromStdString(FormatNumber(format, *value)) : QString());
}

void ShowRange(QLineEdit* low, QLineEdit* high, double freeFraction) {
    const auto range = AdjustedRange(freeFraction);
    ShowNumber(low, range ? std::optional(range->low) : std::nullopt, "%1.1f");
    ShowNumber(high, range ? std::optional(range->high) : std::nullopt, "%1.1f");
}
