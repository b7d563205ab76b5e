#pragma once
// The review window of the Qt prompts: the sheet's sections as read-only
// tables under their headings, OK and Cancel below.
#include <QDialog>
#include <vector>

#include "app/kit/review_sheet.h"

class ReviewDialog : public QDialog {
    Q_OBJECT
public:
    ReviewDialog(const ReviewSheet& sheet, QWidget* parent);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    std::vector<class QTableWidget*> tables_;
};
