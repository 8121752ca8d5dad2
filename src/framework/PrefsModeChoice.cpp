#include "PrefsModeChoice.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

TPrefsModeChoice::TPrefsModeChoice(QWidget *parent)
    : QGroupBox(QStringLiteral("Save the preferences when quit"), parent), group_(new QButtonGroup(this))
{
    auto *layout = new QVBoxLayout(this);
    const char *items[] = {"Normal Mode (registry)", "Portable Mode (USB key)", "Do not save when quit"};
    for (int mode = spRegistre; mode <= spNone; ++mode) {
        auto *radio = new QRadioButton(QString::fromLatin1(items[mode]), this);
        group_->addButton(radio, mode);
        layout->addWidget(radio);
    }
    connect(group_, &QButtonGroup::idClicked, this, [this](int id) {
        if (OnChoose)
            OnChoose(static_cast<TSavePreferences>(id));
    });
}

void TPrefsModeChoice::SetMode(TSavePreferences mode)
{
    QSignalBlocker block(group_);
    group_->button(mode)->setChecked(true);
}

TSavePreferences TPrefsModeChoice::Mode() const
{
    const int id = group_->checkedId();
    return id < 0 ? spNone : static_cast<TSavePreferences>(id);
}
