// Ownership of one counted reference of the text engine: released when the holder goes.
#pragma once

#include <utility>

namespace ATE {

// `Release` is the release function of the reference's suite, called with the reference.
template <typename Ref, auto Release>
class Reference {
  public:
    Reference() = default;
    explicit Reference(Ref ref) : ref_(ref) {}
    Reference(Reference&& other) noexcept : ref_(std::exchange(other.ref_, nullptr)) {}
    Reference& operator=(Reference&& other) noexcept {
        if (this != &other) {
            Reset();
            ref_ = std::exchange(other.ref_, nullptr);
        }
        return *this;
    }
    Reference(const Reference&) = delete;
    Reference& operator=(const Reference&) = delete;
    ~Reference() { Reset(); }

    Ref Get() const { return ref_; }
    // The slot a suite function fills with a new reference (the old one is released).
    Ref* Put() {
        Reset();
        return &ref_;
    }

  private:
    void Reset() {
        if (ref_ != nullptr) {
            // A failed release cannot be reported from a destructor; the host keeps count.
            static_cast<void>(Release(std::exchange(ref_, nullptr)));
        }
    }

    Ref ref_ = nullptr;
};

}  // namespace ATE
