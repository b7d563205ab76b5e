#pragma once
// Typing into a page's fields as a user does: focus, keys, Tab away.
#include <QString>
#include <string>

class QWidget;

// Types `text` over the field named `name` and presses Tab; the page's
// checks and computations that leaving starts have run on return.
void TypeInto(QWidget* page, const char* name, const QString& text);
// The text of the edit field named `name`.
QString FieldText(QWidget* page, const char* name);
// Shows the page and makes it the active window, so that focus moves.
void ShowActive(QWidget* page);
// Opens the page as the dispatcher does, then shows it active.
void OpenActive(class KinevoPage& page);
// A 40-year-old man, 70 kg, 170 cm, SCr 1 mg/dL, on `drug` given as
// `product`, with the drug's population set.
void SetUpFortyYearOld(const std::string& drug, const std::string& product);
// Picks `product` in the page's route-product list as a user does.
void ChooseProduct(QWidget* page, const QString& product);
// With $KINEVO_SHOT_DIR set, a picture of the page at 1024x768 for a person
// to look at.
void PictureAt1024(QWidget& page, const QString& fileName);
