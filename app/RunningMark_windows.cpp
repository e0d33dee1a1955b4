#include "app/RunningMark.h"

#include <windows.h>

// Every running Dalmerin opens the same mutex; it is gone when the last one ends.
RunningMark::RunningMark() : m_handle(CreateMutexW(nullptr, FALSE, L"" DALMERIN_RUNNING_MUTEX)) {}

RunningMark::~RunningMark()
{
    if (m_handle)
        CloseHandle(m_handle);
}
