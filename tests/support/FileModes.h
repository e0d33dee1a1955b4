#pragma once

#include <vector>

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

// While this lives, the process counts as an ordinary user and group (nobody,
// nogroup) for file permissions, also when the tests run as root, so that a
// folder's "other" mode bits hold, for access() too, which a test of an
// unreadable folder needs. The saved ids bring root back.
class OrdinaryUser
{
public:
    OrdinaryUser();
    ~OrdinaryUser();
    OrdinaryUser(const OrdinaryUser&) = delete;
    OrdinaryUser& operator=(const OrdinaryUser&) = delete;

private:
    bool m_wasRoot = false;
    std::vector<unsigned> m_groups;
};
