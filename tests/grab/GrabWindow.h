#pragma once

// A main window on a fresh program folder with portable preferences, a video open and a frame to
// grab; a dialog service that answers as each test needs.
#include "grab/AbortFlag.h"
#include "grab/GrabSource.h"
#include "grab/ShowForm.h"
#include "support/QStringPrinter.h"

#include "framework/BooleanAction.h"
#include "framework/CheckAction.h"
#include "framework/IntegerAction.h"
#include "framework/NopeAction.h"
#include "framework/WidestringAction.h"
#include "platform/registry/RegistryStore.h"
#include "platform/shell/DialogService.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <deque>
#include <memory>

using L = ActionCatalogue::List;

// Answers questions by button label, in turn ("No" when none is left), chooses `folderChoice`
// in folder dialogs, and keeps every text it was shown.
class AnsweringDialogs final : public DialogService
{
  public:
    int Ask(const Question &q) override
    {
        if (q.choices.size() == 1) {
            messages << q.text;
            return q.choices.first().id;
        }
        questions << q.text;
        const QString label = answers.empty() ? QString("No") : answers.front();
        if (!answers.empty())
            answers.pop_front();
        for (const Choice &c : q.choices)
            if (c.label == label)
                return c.id;
        ADD_FAILURE() << "no button " << label.toStdString();
        return q.headlessAnswer;
    }
    int RunModal(QDialog &, int headlessAnswer, const QString &) override { return headlessAnswer; }
    QString OpenFileName(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
    QString SaveFileName(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
    QString FolderName(QWidget *, const QString &, const QString &) override { return folderChoice; }

    std::deque<QString> answers;
    QStringList questions;
    QStringList messages;
    QString folderChoice;
};

class FrameSource final : public TGrabSource
{
  public:
    void WaitForFreshFrame() override { ++waits; }
    bool GrabCurrentImage(QImage &f) override
    {
        if (!deliver)
            return false;
        f = frame;
        return true;
    }
    QSize DisplayAspect() const override { return aspect; }
    void SetForcedAspect(int mode) override { forced = mode; }
    int64_t CurrentTime() const override { return time; }
    int64_t FrameDuration() const override { return frameDuration; }
    QString PositionText() const override { return position; }

    QImage frame;
    bool deliver = true;
    QSize aspect{16, 9};
    int forced = -1;
    int64_t time = 0, frameDuration = 0;
    QString position = "0:00:01:12";
    int waits = 0;
};

// A PAL frame: left half red, right half blue.
inline QImage PalFrame()
{
    QImage frame(720, 576, QImage::Format_RGB32);
    frame.fill(qRgb(220, 0, 0));
    for (int y = 0; y < 576; ++y)
        for (int x = 360; x < 720; ++x)
            frame.setPixel(x, y, qRgb(0, 0, 220));
    return frame;
}

inline void SendLeftButton(QWidget *widget, QEvent::Type type)
{
    const QPointF at(1, 1);
    QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

inline void Click(QWidget *widget)
{
    SendLeftButton(widget, QEvent::MouseButtonPress);
    SendLeftButton(widget, QEvent::MouseButtonRelease);
}

inline QByteArray Contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline const char *const Unsaved = "This picture has not yet been saved\nClick on this label to save it";
inline const char *const Saved = "This picture has already been saved";

class GrabWindow : public ::testing::Test
{
  public: // the cases of table tests set the window up through it
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        auto answering = std::make_unique<AnsweringDialogs>();
        dialogs = answering.get();
        previous = DialogService::Install(std::move(answering));
        StartCase();
    }
    void TearDown() override
    {
        form.reset();
        DialogService::Install(std::move(previous));
    }

    // A fresh program folder with empty portable preferences, and a window on it with a video
    // open, the pictures saved in its own folder.
    void StartCase()
    {
        form.reset();
        folder = dir.filePath(QString("case%1").arg(++caseCount)) + "/";
        ASSERT_TRUE(QDir().mkpath(Pictures()));
        QFile ini(folder + "Kestrin.ini");
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.close();
        dialogs->answers.clear();
        dialogs->questions.clear();
        dialogs->messages.clear();
        AbortFlag = false;
        source = FrameSource();
        source.frame = PalFrame();
        form = OpenWindow();
        Text("waDossierSave").SetValue(Pictures());
        form->SetGrabSource(&source);
        form->VideoOpened("/videos/holiday.2010.avi", true, {720, 405});
    }

    std::unique_ptr<TShowForm> OpenWindow()
    {
        form.reset();
        registry = std::make_unique<RegistryStore>(folder + "config/registry.reg");
        auto window = std::make_unique<TShowForm>(folder, registry.get());
        window->gp.LoadAtStart();
        return window;
    }

    QString Pictures() const { return folder + "pictures/"; }

    template <class A> A &Get(const char *name, L list = L::gpal)
    {
        auto *action = dynamic_cast<A *>(form->ActionList(list).FindByInternalId(name));
        EXPECT_NE(action, nullptr) << name;
        return *action;
    }
    TIntegerAction &Number(const char *name) { return Get<TIntegerAction>(name); }
    TBooleanAction &Flag(const char *name) { return Get<TBooleanAction>(name); }
    TWidestringAction &Text(const char *name) { return Get<TWidestringAction>(name); }
    TNopeAction &Command(const char *name) { return Get<TNopeAction>(name); }

    QTemporaryDir dir;
    int caseCount = 0;
    QString folder;
    std::unique_ptr<RegistryStore> registry;
    std::unique_ptr<DialogService> previous;
    AnsweringDialogs *dialogs = nullptr;
    FrameSource source;
    std::unique_ptr<TShowForm> form;
};
