#include "pages/widgets/field_number.h"

#include <cmath>

std::optional<double> FieldNumber(const QString& text) {
    bool ok = false;
    // The C locale: a point for decimals, no group separators.
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

std::optional<QString> NotANumberProblem(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty() || FieldNumber(trimmed)) return std::nullopt;
    return QString(
               "\"%1\" is not a number. Please type digits only, with a point for decimals "
               "(no commas, spaces or letters).")
        .arg(trimmed);
}
