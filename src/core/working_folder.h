#pragma once

#include <QString>

// The working folder holds the settings files, the check images and links to the programs
// the file manager starts (Edit, Img, unzip, unrar).

// Where it is when the program is started from the launcher: $XDG_CONFIG_HOME/kestrel,
// ~/.config/kestrel when that is unset.
QString launcherWorkingFolder();

// Makes the folder and adds what it lacks: the settings files with every key, the check images,
// and links to the programs supplied with the one in programFolder (installed, or in the build
// tree). An entry already there, a link too, is kept as it is. False when something is missing.
bool prepareWorkingFolder(const QString& folder, const QString& programFolder);

// Makes the working folder current: the current folder when it holds system.txt (a handset, or
// scripts/run), otherwise the launcher's folder, prepared first. False when that fails.
bool enterWorkingFolder(const QString& programFolder);
