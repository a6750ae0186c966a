// Which running copy of the program this is, so copies started side by side do not open their
// windows on the same spot.
#pragma once

#include <QLockFile>
#include <QPoint>
#include <QString>

#include <memory>

class TInstanceSlot {
public:
    // Takes the lowest free slot in folder (a lock file per slot, freed when this object goes or
    // its process ends); slot 0 when none of the first few can be taken.
    explicit TInstanceSlot(const QString &folder);

    int Number() const { return FNumber; }
    // How far this copy's windows open from the first copy's.
    QPoint Offset() const { return {FNumber * 32, FNumber * 32}; }

private:
    int FNumber = 0;
    std::unique_ptr<QLockFile> FLock;
};

// Where the slots of the current user are kept: the runtime folder, else the temporary one.
QString InstanceFolder();
