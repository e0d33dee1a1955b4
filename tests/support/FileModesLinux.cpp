#include "tests/support/FileModes.h"

#include <QtGlobal>

#include <grp.h>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// Sets whether the calling thread may override file modes; false when it had no say.
bool setOverride(bool on)
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2] = {};
    if (syscall(SYS_capget, &header, data) != 0)
        return false;
    const unsigned bit = 1u << CAP_DAC_OVERRIDE;
    if (!(data[0].permitted & bit) || bool(data[0].effective & bit) == on)
        return false;
    data[0].effective = on ? data[0].effective | bit : data[0].effective & ~bit;
    return syscall(SYS_capset, &header, data) == 0;
}

} // namespace

ObeyFileModes::ObeyFileModes() : m_dropped(setOverride(false)) {}

ObeyFileModes::~ObeyFileModes()
{
    if (m_dropped)
        setOverride(true);
}

namespace {
constexpr uid_t Nobody = 65534;
}

OrdinaryUser::OrdinaryUser() : m_wasRoot(geteuid() == 0)
{
    if (!m_wasRoot)
        return;
    std::vector<gid_t> groups(static_cast<std::size_t>(getgroups(0, nullptr)));
    getgroups(int(groups.size()), groups.data());
    m_groups.assign(groups.begin(), groups.end());
    if (setgroups(0, nullptr) != 0 || setresgid(Nobody, Nobody, 0) != 0 || setresuid(Nobody, Nobody, 0) != 0)
        qFatal("could not become an ordinary user");
}

OrdinaryUser::~OrdinaryUser()
{
    const std::vector<gid_t> groups(m_groups.begin(), m_groups.end());
    if (m_wasRoot &&
        (setresuid(0, 0, 0) != 0 || setresgid(0, 0, 0) != 0 || setgroups(groups.size(), groups.data()) != 0))
        qFatal("could not become root again");
}
