#pragma once

#include <QSettings>

#include <memory>

namespace settings {

// The per-user store the two settings live in; each platform has its own
// place for it. Only the user's own store is read: no machine-wide fallback.
std::unique_ptr<QSettings> openStore();

// Readies the store's place for a write through `store`, not yet written to.
void prepareForWriting(const QSettings& store);

} // namespace settings
