#include "SavePrefsForm.h"

#include "LinkEdit.h"
#include "platform/shell/DialogService.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{

const char *const QuestionText = "<br><size 10><i>Do you want to save your preferences and find them again "
                                 "on next start?<br><br>Click on your "
                                 "choice:</i><br><br>* either to save them in the registry (normal "
                                 "mode).<br>* either to save them in an ini-file "
                                 "(portable mode).<br>* either not to save them. In the last case, all "
                                 "preferences will be lost, and the default "
                                 "values will be loaded on the next start.<br></size>";

struct ButtonText {
    TSavePreferences mode;
    const char *caption;
    const char *hint;
};

const ButtonText Buttons[] = {
    {spRegistre, "Normal",
     "Save the Preferences in the registry.\r\nIf an ini file existed, it will be deleted."},
    {spPortable, "Portable",
     "Saves the preferences to an ini file.\r\nDeletes the preferences from the registry."},
    {spNone, "None",
     "Exit without saving the preferences.\r\nIf they existed in an ini-file or in the registry,\r\nthey "
     "will be "
     "deleted."},
};

} // namespace

TSavePrefsForm::TSavePrefsForm(QWidget *parent) : QDialog(parent), label_(new TLinkEdit(this))
{
    auto *layout = new QVBoxLayout(this);
    label_->SetRichText(QString::fromLatin1(QuestionText));
    layout->addWidget(label_);
    auto *row = new QHBoxLayout;
    for (const ButtonText &b : Buttons) {
        auto *button = new QPushButton(QString::fromLatin1(b.caption), this);
        // Hints keep their line breaks; the tool tip shows them as lines.
        button->setToolTip(QString::fromLatin1(b.hint).replace(QLatin1String("\r\n"), QLatin1String("\n")));
        connect(button, &QPushButton::clicked, this, [this, mode = b.mode] { Choose(mode); });
        buttons_[b.mode] = button;
        row->addWidget(button);
    }
    layout->addLayout(row);
    setFixedSize(460, 300);
}

void TSavePrefsForm::Choose(TSavePreferences mode)
{
    choice_ = mode;
    accept();
}

std::optional<TSavePreferences> TSavePrefsForm::Ask()
{
    choice_.reset();
    constexpr int headlessNone = QDialog::Accepted + 1 + spNone;
    const int result = DialogService::Current().RunModal(*this, headlessNone, Button(spNone)->text());
    if (result == headlessNone)
        choice_ = spNone;
    return choice_;
}
