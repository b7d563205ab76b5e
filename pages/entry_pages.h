#pragma once
// Pages 137, 136 and 138: the patient and case entry page for a new patient,
// a new case of a listed patient and an existing case.
#include "app/kit/page_base.h"

class EntryPage : public KinevoPage {
    Q_OBJECT
public:
    EntryPage(int dialogId, const QString& heading, QWidget* parent);

protected:
    void OnEnter() override { FocusNextField(); }
};

class NewPatientEntryPage : public EntryPage {
    Q_OBJECT
public:
    explicit NewPatientEntryPage(QWidget* parent = nullptr);

protected:
    void OnOpen() override;
};

class NewCaseEntryPage : public EntryPage {
    Q_OBJECT
public:
    explicit NewCaseEntryPage(QWidget* parent = nullptr);
};

class ExistingCaseEntryPage : public EntryPage {
    Q_OBJECT
public:
    explicit ExistingCaseEntryPage(QWidget* parent = nullptr);
};
