#pragma once

#include <QList>
#include <QString>

#include <memory>

class QDialog;
class QWidget;

// Every modal question of the program goes through the current dialog service. On a display it
// shows real dialogs; without one (the offscreen platform) each question prints itself and the
// answer it takes to standard error and never waits. Tests install a service of their own.
// UI thread only.
class DialogService
{
  public:
    struct Choice {
        int id;
        QString label;
    };
    struct Question {
        QString title;
        QString text;
        QList<Choice> choices;   // in button order
        int defaultChoice = -1;  // id of the default button
        int headlessAnswer = -1; // id taken when nobody can answer
    };

    virtual ~DialogService() = default;

    // Asks `question` and returns the id of the chosen button (headlessAnswer or the default
    // when the question is closed without a choice).
    virtual int Ask(const Question &question) = 0;
    // Shows a ready-made dialog modally; returns its result code, or without a display
    // headlessAnswer, printed as `answerText`.
    virtual int RunModal(QDialog &dialog, int headlessAnswer, const QString &answerText) = 0;
    // File and folder choosers; an empty text means cancelled. Choosing an existing file to save
    // to is not questioned here: the caller asks, by its own rules.
    virtual QString OpenFileName(QWidget *parent, const QString &title, const QString &folder,
                                 const QString &filter) = 0;
    virtual QString SaveFileName(QWidget *parent, const QString &title, const QString &path,
                                 const QString &filter) = 0;
    virtual QString FolderName(QWidget *parent, const QString &title, const QString &folder) = 0;

    // A message with a single "OK" button.
    void Inform(const QString &title, const QString &text);

    // The service in use: the one installed, else the display's or the headless one.
    static DialogService &Current();
    // Installs `service` (nullptr returns to the default); returns the one it replaces.
    static std::unique_ptr<DialogService> Install(std::unique_ptr<DialogService> service);
};
