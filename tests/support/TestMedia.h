#pragma once

#include <QString>

// Where the tests find their media: the clips tests/media generates into the build tree, and
// the real camcorder DV frames kept beside the repository.
namespace TestMedia
{

// Absolute path of a generated clip, e.g. Path("h264_aac.mp4").
QString Path(const QString &name);

// Absolute path of a file under the shared media folder, e.g. SharedPath("dv-real/1.dv").
QString SharedPath(const QString &relative);

} // namespace TestMedia
