#pragma once

#include "ClassRegistry.h"

#include <string_view>

// One registered class per libavcodec video and audio decoder of this machine. Its class id
// comes from the decoder's name (DecoderClassId), so it is the same on every run. FFmpeg's own
// decoders have MERIT_NORMAL, in FFmpeg's order of preference; wrappers of outside libraries
// MERIT_UNLIKELY; hardware decoders and experimental ones are left out of automatic connection.
void RegisterDecoderClasses(ClassRegistry &registry);

Guid DecoderClassId(std::string_view decoderName);
