#include "platform/PrivateTempDirectory.h"

#include "common/Errors.h"
#include "platform/TempDirectory.h"

#include <QFile>
#include <QTemporaryDir>

#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The folder is still a directory of this user that nobody else may enter (not a link put in
// its place after it was cleaned away).
bool isOwnPrivateFolder(const QString &path)
{
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::geteuid() && (info.st_mode & 077) == 0;
}

} // namespace

QString privateTempDirectory()
{
    const QString system = TempDirectory();
    static std::unique_ptr<QTemporaryDir> folder; // removed with its content when the program ends
    static QString folderParent;
    if (!folder || folderParent != system || !isOwnPrivateFolder(folder->path())) {
        // Whatever now stands under the old name is not ours to remove: it may be a link to
        // somebody's folder.
        if (folder && !isOwnPrivateFolder(folder->path()))
            folder->setAutoRemove(false);
        folder.reset();
        auto made = std::make_unique<QTemporaryDir>(system + QStringLiteral("kvirzeta-XXXXXX"));
        if (!made->isValid() || !isOwnPrivateFolder(made->path()))
            throw Error(QStringLiteral("Cannot create a private folder in \"%1\". %2").arg(system, made->errorString()));
        folder = std::move(made);
        folderParent = system;
    }
    return folder->path() + QLatin1Char('/');
}
