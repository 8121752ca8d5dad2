#include "FfProbe.h"

#include <QJsonDocument>
#include <QProcess>

FfProbe FfProbe::Streams(const QString &path)
{
    return Run(path, {"-show_format", "-show_streams", "-count_packets"});
}

FfProbe FfProbe::Run(const QString &path, const QStringList &arguments)
{
    QProcess process;
    process.start("ffprobe", QStringList{"-v", "error", "-of", "json"} + arguments + QStringList{path});
    FfProbe probe;
    if (!process.waitForFinished(60000)) {
        probe.errors_ = "ffprobe did not finish: " + process.errorString();
        return probe;
    }
    probe.exitCode_ = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    probe.json_ = QJsonDocument::fromJson(process.readAllStandardOutput()).object();
    probe.errors_ = QString::fromUtf8(process.readAllStandardError());
    return probe;
}
