#include "app/Instance.h"

#include <QDir>
#include <QStandardPaths>

namespace {
constexpr int SlotCount = 8;
} // namespace

TInstanceSlot::TInstanceSlot(const QString &folder) {
    for (int n = 0; n < SlotCount; ++n) {
        auto lock = std::make_unique<QLockFile>(
            QDir(folder).filePath(QStringLiteral("zelvano-window-%1.lock").arg(n)));
        // A lock left by a copy that crashed is taken over at once.
        lock->setStaleLockTime(0);
        if (lock->tryLock(0)) {
            FNumber = n;
            FLock = std::move(lock);
            return;
        }
    }
}

QString InstanceFolder() {
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QDir::tempPath() : runtime;
}
