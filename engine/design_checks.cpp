#include "engine/design_checks.h"

namespace {
const char* MessageFor(DesignField field) {
    switch (field) {
        case DesignField::DesiredPeak: return "Please input a correct Value of peak.";
        case DesignField::PostTime: return "Please input a correct Value of Time of Post.";
        case DesignField::DesiredTrough: return "Please input a correct Value of trough.";
        case DesignField::InfusionTime: return "Please input a correct Value of Infusion Time.";
        case DesignField::DesiredAverage: return "Please input a correct Value of Average.";
        case DesignField::InitialConc: return "Please input a correct Value of Initial Concentration.";
        case DesignField::TimeDrawn: return "Please input a correct Value of Time Drawn.";
        case DesignField::LoadingInfusionTime: return "Please input a correct Value of Infusion time for loading dose.";
    }
    return "";
}
}  // namespace

std::optional<std::string> DesignFieldProblem(DesignField field, double value) {
    if (value >= 0) return std::nullopt;
    return MessageFor(field);
}
