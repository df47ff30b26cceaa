#pragma once
// Permission tests mean nothing to root, who may write anywhere. Run as root (as CI is), the guard
// hands a test's folder to the unprivileged "nobody" and takes on that identity until it ends, so
// the refusals are really exercised; for anyone else it does nothing.
#include <filesystem>
#include <sys/types.h>
#include <unistd.h>

namespace somnex::test {

class Unprivileged {
public:
    explicit Unprivileged(std::filesystem::path tree) : tree_(std::move(tree)), active_(geteuid() == 0) {
        if (!active_) return;
        Chown(kNobody);
        ok_ = setegid(kNobody) == 0 && seteuid(kNobody) == 0;
        if (!ok_) Restore();
    }
    ~Unprivileged() { Restore(); }
    Unprivileged(const Unprivileged&) = delete;
    Unprivileged& operator=(const Unprivileged&) = delete;

    bool Ok() const { return ok_; }

private:
    static constexpr uid_t kNobody = 65534;

    void Chown(uid_t id) {
        std::error_code ec;
        if (lchown(tree_.c_str(), id, id) != 0) ok_ = false;
        for (auto it = std::filesystem::recursive_directory_iterator(tree_, ec);
             !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
            if (lchown(it->path().c_str(), id, id) != 0) ok_ = false;
    }
    void Restore() {
        if (!active_) return;
        active_ = false;
        if (seteuid(0) != 0 || setegid(0) != 0) return;
        Chown(0);
    }

    std::filesystem::path tree_;
    bool active_;
    bool ok_ = true;
};

} // namespace somnex::test
