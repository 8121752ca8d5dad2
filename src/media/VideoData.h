#pragma once

#include <QString>
#include <cstdint>

// What the user sees of a video stream's format: size, rate, aspect and codec texts.
struct TVideoData {
    bool Valid = false;
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t BitCount = 0;
    int64_t AvgTimePerFrame = 0; // 100 ns units
    QString SubtypeName;
    int32_t AspectX = 0; // 0 = no picture aspect; reduced by tens for the description
    int32_t AspectY = 0;
    // The picture aspect as the format gives it, unreduced: the display ratio to show and grab
    // with (350:262 reduced to 35:26 would distort the picture).
    int32_t PictureAspectX = 0;
    int32_t PictureAspectY = 0;
    int32_t BitRate = 0;
    double Fps = 0;
    QString SizeText;
    uint8_t AspectCode = 0; // 0 = 4:3, 1 = 16:9, 2 = no aspect information, 3 = another ratio
    QString Description;
};
