#include "media/FileDevice.h"

#include "media/FilterRecs.h"
#include "platform/core/Paths.h"
#include "platform/graph/FileSourceFilter.h"

#include <QFile>

TFileDevice::TFileDevice(QString fileName, const TFilterRec *sourceRec, const TFilterRec *splitterRec)
    : TMediaDevice(Paths::ExtractFileName(fileName), nullptr, 1), fileName_(std::move(fileName)),
      sourceRec_(sourceRec), splitterRec_(splitterRec)
{
    Probe();
}

bool TFileDevice::Connect()
{
    Graph *graph = ManagerGraph();
    if (!graph || !sourceRec_ || sourceRec_->ClassId.IsNull())
        return false;
    if (AddSource(*graph) && (!splitterRec_ || AddSplitter(*graph)))
        return true;
    Disconnect();
    return false;
}

bool TFileDevice::AddSource(Graph &graph)
{
    sourceFilter_ = CreateFilter(*sourceRec_);
    if (!sourceFilter_)
        return false;
    auto *file = sourceFilter_->Query<FileSourceFilter>();
    if (!file || FAILED(file->Load(QFile::encodeName(fileName_).toStdString(), nullptr)))
        return false;
    SetOutputFilter(sourceFilter_);
    return SUCCEEDED(graph.AddFilter(sourceFilter_, sourceRec_->Name.toStdString()));
}

bool TFileDevice::AddSplitter(Graph &graph)
{
    splitterFilter_ = CreateFilter(*splitterRec_);
    if (!splitterFilter_)
        return false;
    SetOutputFilter(splitterFilter_);
    if (FAILED(graph.AddFilter(splitterFilter_, splitterRec_->Name.toStdString())))
        return false;
    Pin *output = FirstPin(*sourceFilter_, PINDIR_OUTPUT);
    Pin *input = FirstPin(*splitterFilter_, PINDIR_INPUT);
    return output && input && SUCCEEDED(graph.ConnectDirect(*output, *input));
}

bool TFileDevice::Disconnect()
{
    const bool splitterOut = RemoveFromGraph(splitterFilter_);
    const bool sourceOut = RemoveFromGraph(sourceFilter_);
    // Dropping the instances closes the file until the next connection.
    splitterFilter_.reset();
    sourceFilter_.reset();
    SetOutputFilter(nullptr);
    return splitterOut && sourceOut;
}
