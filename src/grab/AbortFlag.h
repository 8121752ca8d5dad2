#pragma once

// Raised to stop a running series of grabs: by the abort command, the series' break and end, and
// Cancel in the overwrite question; a series lowers it when it starts and tests it before every
// image. UI thread only.
extern bool AbortFlag;
