#include "pages/forecast/forecast_form.h"

#include <QGridLayout>
#include <QGroupBox>

FieldRows ForecastForm::DoseAndInterval(QGroupBox* group) {
    FieldRows inputs(new QGridLayout(group));
    dose_ = inputs.AddInput("Dose:", "dose", "", &doseUnit_);
    interval_ = inputs.AddInput("Interval:", "interval", "hr");
    return inputs;
}
