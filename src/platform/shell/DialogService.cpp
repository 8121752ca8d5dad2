#include "DialogService.h"

#include <QDialog>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>

#include <cstdio>

namespace
{

// Real dialogs on the user's display.
class WidgetDialogService final : public DialogService
{
  public:
    int Ask(const Question &q) override
    {
        QMessageBox box(QMessageBox::Question, q.title, q.text);
        QList<std::pair<QAbstractButton *, int>> buttons;
        for (const Choice &c : q.choices) {
            QPushButton *b = box.addButton(c.label, QMessageBox::AcceptRole);
            buttons.append({b, c.id});
            if (c.id == q.defaultChoice)
                box.setDefaultButton(b);
        }
        box.exec();
        for (const auto &[button, id] : buttons)
            if (box.clickedButton() == button)
                return id;
        return q.defaultChoice >= 0 ? q.defaultChoice : q.headlessAnswer;
    }
    int RunModal(QDialog &dialog, int, const QString &) override { return dialog.exec(); }
    QString OpenFileName(QWidget *parent, const QString &title, const QString &folder,
                         const QString &filter) override
    {
        return QFileDialog::getOpenFileName(parent, title, folder, filter);
    }
    QString SaveFileName(QWidget *parent, const QString &title, const QString &path,
                         const QString &filter) override
    {
        return QFileDialog::getSaveFileName(parent, title, path, filter, nullptr,
                                            QFileDialog::DontConfirmOverwrite);
    }
    QString FolderName(QWidget *parent, const QString &title, const QString &folder) override
    {
        return QFileDialog::getExistingDirectory(parent, title, folder);
    }
};

// Nobody can answer: print the question and the answer taken, never wait.
class HeadlessDialogService final : public DialogService
{
  public:
    int Ask(const Question &q) override
    {
        QString answer;
        for (const Choice &c : q.choices)
            if (c.id == q.headlessAnswer)
                answer = c.label;
        Print(q.title + QLatin1String(": ") + q.text, answer);
        return q.headlessAnswer;
    }
    int RunModal(QDialog &dialog, int headlessAnswer, const QString &answerText) override
    {
        Print(dialog.windowTitle(), answerText);
        return headlessAnswer;
    }
    QString OpenFileName(QWidget *, const QString &title, const QString &, const QString &) override
    {
        return Cancelled(title);
    }
    QString SaveFileName(QWidget *, const QString &title, const QString &, const QString &) override
    {
        return Cancelled(title);
    }
    QString FolderName(QWidget *, const QString &title, const QString &) override { return Cancelled(title); }

  private:
    static void Print(const QString &question, const QString &answer)
    {
        std::fprintf(stderr, "%s\n  -> %s\n", qUtf8Printable(question), qUtf8Printable(answer));
    }
    static QString Cancelled(const QString &title)
    {
        Print(title, QStringLiteral("cancel"));
        return {};
    }
};

std::unique_ptr<DialogService> &Installed()
{
    static std::unique_ptr<DialogService> service;
    return service;
}

} // namespace

void DialogService::Inform(const QString &title, const QString &text)
{
    Ask({title, text, {{0, QStringLiteral("OK")}}, 0, 0});
}

DialogService &DialogService::Current()
{
    auto &service = Installed();
    if (!service) {
        if (QGuiApplication::platformName() == QLatin1String("offscreen"))
            service = std::make_unique<HeadlessDialogService>();
        else
            service = std::make_unique<WidgetDialogService>();
    }
    return *service;
}

std::unique_ptr<DialogService> DialogService::Install(std::unique_ptr<DialogService> service)
{
    return std::exchange(Installed(), std::move(service));
}
