#pragma once

#include "framework/SavePrefsForm.h"
#include "platform/shell/DialogService.h"

#include <QPushButton>

#include <optional>

// A dialog service that answers the closing preferences question by clicking one of its buttons,
// or dismisses it when no mode is given; it counts the questions.
struct ClosingAnswer final : DialogService {
    explicit ClosingAnswer(std::optional<TSavePreferences> m) : mode(m) {}
    int Ask(const Question &q) override { return q.headlessAnswer; }
    int RunModal(QDialog &dialog, int, const QString &) override
    {
        ++asked;
        if (mode)
            static_cast<TSavePrefsForm &>(dialog).Button(*mode)->click();
        else
            dialog.reject();
        return dialog.result();
    }
    QString OpenFileName(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
    QString SaveFileName(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
    QString FolderName(QWidget *, const QString &, const QString &) override { return {}; }

    std::optional<TSavePreferences> mode;
    int asked = 0;
};
