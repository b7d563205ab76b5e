#include "engine/factor_questions.h"

#include "records/drug_catalogue.h"

namespace {
constexpr double kOneMonth = 0.08333333333333333;
constexpr double kTwoMonths = 0.16666666666666666;

std::vector<std::string> AminoglycosideQuestions(double age) {
    std::vector<std::string> q = {"Is this a critically ill or ICU patient ?", "Is this a burn patient ?",
                                  "Is this a hematology/oncology patient ?", "Is this a spinal cord injury patient ?",
                                  "Is this a cystic fibrosis patient ?"};
    if (age <= kOneMonth) {
        q.insert(q.end(), {"Is this a preterm infant less than 28 weeks gestational age?",
                           "Is this a preterm infant 28 to 36 weeks gestational age?", "Is this a neonate with PDA ?",
                           "Is this an infant receiving ECMO ?"});
    } else if (age <= kTwoMonths) {
        q.push_back("Is this a preterm infant less than 28 weeks gestational age?");
    }
    return q;
}

std::vector<std::string> VancomycinQuestions(double age) {
    std::vector<std::string> q = {"Is this a critically ill or ICU patient ?", "Is this a burn patient ?"};
    if (age <= 0.164) q.push_back("Is this a preterm infant less than 28 weeks gestational age ?");
    if (age <= kOneMonth) q.insert(q.end(), {"Is this a neonate with PDA ?", "Is this an infant receiving ECMO ?"});
    return q;
}
}  // namespace

std::vector<std::string> FactorQuestions(const std::string& drugCode, double age, const std::string& sex) {
    const std::string c = ToUpper(drugCode);
    if (c == "GM" || c == "AK" || c == "TM" || c == "NM") return AminoglycosideQuestions(age);
    if (c == "VM") return VancomycinQuestions(age);
    if (c == "DG") {
        std::vector<std::string> q = {
            "Is this a patient with CHF ?",           "Is the patient hyperthyroid ?",
            "Is the patient hypothyroid ?",           "Is the patient taking amiodarone ?",
            "Is the patient taking diltiazem ?",      "Is the patient taking quinidine ?",
            "Is the patient taking oral verapamil ?", "Is patient on amiloride or triamterene ?",
            "Is the patient taking spironolactone ?"};
        if (age <= kOneMonth) q.push_back("Is the patient a premature infant ?");
        return q;
    }
    if (c == "PB") {
        std::vector<std::string> q = {"Is this a patient with severe cirrhosis ?", "Is this a patient with hepatitis ?",
                                      "Is the patient taking valproic acid ?"};
        if (sex == "F") q.push_back("Is the patient pregnant ?");
        return q;
    }
    if (c == "QD")
        return {"Does the patient have severe CHF ?", "Does the patient have cirrhosis ?",
                "Is the patient taking amiodarone ?", "Is the patient taking a barbiturate ?",
                "Is the patient taking cimetidine ?", "Is the patient taking phenytion ?",
                "Is the patient taking rifampin ?",   "Is the patient taking verapamil ?"};
    if (c == "TH")
        return {"Does the patient have CHF ?",
                "Does the patient have severe cirrhosis ?",
                "Does the patient have severe COPD ?",
                "Does the patient smoke ?",
                "Is the patient taking cimetidine ?",
                "Patient on ciprofloxacin or erythromycin?",
                "Is patient taking oral contraceptives ?",
                "Is the patient taking phenytoin ?",
                "Is the patient taking rifampin ?",
                "Patient on mexiletine or troleandomycin ?",
                "Does the patient have cystic fibrosis ?",
                "Is the patient on chronic phenobarbital ?",
                "Is the patient on diltiazem or verapamil?",
                "Is the patient hyperthyroid ?",
                "Is the patient hypothyroid ?"};
    if (c == "LI")
        return {"Is the patient on acetazolamide or bicarbonate ?",
                "Is the patient on ibuprofen or piroxicam?",
                "Is the patient on diclofenac, indomethacin or naproxen ?",
                "Is the patient on a low sodium diet ?",
                "Is the patient taking theophylline ?",
                "Is patient on a thiazide-type diuretic ?"};
    if (c == "CX")
        return {"Is the patient taking an Al/Mg antacid ?",
                "Has the patient had cancer chemotherapy ?",
                "Does the patient have cystic fibrosis ?",
                "Is the patient taking oral didanosine ?",
                "Is the patient taking oral iron ?",
                "Is the patient taking sucralfate ?",
                "Is the patient taking multivitamins with zinc ?"};
    if (c == "OX")
        return {"Is the patient taking an Al/Mg antacid ?", "Is the patient taking oral iron ?",
                "Is the patient taking sucralfate ?"};
    if (c == "PC")
        return {"Is the patient taking amiodarone ?", "Is the patient taking cimetidine ?",
                "Is the patient on trimethoprim or Septra ?", "Is the patient's cardiac output impaired ?"};
    if (c == "PH")
        return {"Ethnically slow metabolism ?",
                "Is valproic acid concentration > 70 mg/L ?",
                "Is the patient's bilirubin > 6 mg/dL ?",
                "Does the patient have severe neurologic injury ?",
                "Is the patient receiving tube feeding ?",
                "Is the patient receiving fluoxetine, fluconazole or voriconazole ?"};
    return {};
}
