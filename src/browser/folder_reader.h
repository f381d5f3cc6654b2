#pragma once

#include <QDir>
#include <QString>
#include <QStringList>

// How the settings order a listing: "Hide" "1" shows hidden entries; "Taxis" "1" sorts by
// time, "2" by size, anything else by name; folders first, case ignored.
QDir::Filters listingFilter(const QString& hideSetting);
QDir::SortFlags listingSort(const QString& taxisSetting);

// The entries of the folder in the order its filter and sorting give, without ".", ".."
// and "diskb". Devices, pipes, sockets and broken links are not listed. Names whose bytes
// are not UTF-8 are listed by a look-alike; their places go to undecodable. False when the
// folder cannot be read.
bool readListing(const QDir& folder, QStringList* names, QList<int>* undecodable = nullptr);
