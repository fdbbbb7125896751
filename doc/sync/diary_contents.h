#pragma once
// Stand-in until DiaryContents has a header of its own.
#include "doc/diary_merge.h"
