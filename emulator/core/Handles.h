// Handles that the emulated host hands to the plug-in: opaque values standing for host
// objects, never reused, so that a handle used after its object was disposed of is caught.
#pragma once

#include <cstdint>
#include <map>
#include <memory>

namespace emulator {

template <typename Handle, typename Object>
class HandleTable {
  public:
    // Takes `object` and returns its new handle.
    Handle Add(std::unique_ptr<Object> object) {
        const std::uintptr_t id = next_;
        next_ += kStride;
        objects_[id] = std::move(object);
        return reinterpret_cast<Handle>(id);
    }

    // The object of `handle`, or null when the handle was never issued or is disposed of.
    Object* Find(Handle handle) const {
        auto it = objects_.find(reinterpret_cast<std::uintptr_t>(handle));
        return it == objects_.end() ? nullptr : it->second.get();
    }

    // Disposes of the object of `handle`; false when there was none.
    bool Remove(Handle handle) {
        return objects_.erase(reinterpret_cast<std::uintptr_t>(handle)) != 0;
    }

    // Live objects in the order they were added.
    template <typename Visit>
    void ForEach(Visit visit) const {
        for (const auto& [id, object] : objects_) {
            visit(reinterpret_cast<Handle>(id), *object);
        }
    }

    std::size_t Size() const { return objects_.size(); }
    void Clear() { objects_.clear(); }

  private:
    static constexpr std::uintptr_t kStride = 16;
    std::uintptr_t next_ = 0x10000;
    std::map<std::uintptr_t, std::unique_ptr<Object>> objects_;
};

}  // namespace emulator
