#pragma once

// Root writes a file whatever its mode says. A test of a read-only file holds
// the process to the file modes while this object lives, as any user is held.
class ObeyFileModes
{
public:
    ObeyFileModes();
    ~ObeyFileModes();
    ObeyFileModes(const ObeyFileModes&) = delete;
    ObeyFileModes& operator=(const ObeyFileModes&) = delete;

private:
    bool m_dropped = false;
};
