#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

// One run of the ffprobe command on a file, with its JSON answer and its error output.
// Call from any one thread at a time.
class FfProbe
{
  public:
    // Format, streams (with packets counted) and errors of the file at path.
    static FfProbe Streams(const QString &path);
    // The file at path with the given show/select arguments; "-v error -of json" are added.
    static FfProbe Run(const QString &path, const QStringList &arguments);

    bool Succeeded() const { return exitCode_ == 0; }
    QJsonObject Format() const { return json_.value("format").toObject(); }
    QJsonArray Streams() const { return json_.value("streams").toArray(); }
    QJsonArray Packets() const { return json_.value("packets").toArray(); }
    const QString &Errors() const { return errors_; }

  private:
    int exitCode_ = -1;
    QJsonObject json_;
    QString errors_;
};
