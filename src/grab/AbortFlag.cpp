#include "AbortFlag.h"

bool AbortFlag = false;
