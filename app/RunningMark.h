#pragma once

// Tells the installer and the uninstaller that Dalmerin runs: on Windows a
// named mutex (DALMERIN_RUNNING_MUTEX, the name they look for) held while
// this object lives; elsewhere nothing.
class RunningMark
{
public:
    RunningMark();
    ~RunningMark();
    RunningMark(const RunningMark&) = delete;
    RunningMark& operator=(const RunningMark&) = delete;

private:
    void* m_handle = nullptr;
};
