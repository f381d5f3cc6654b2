#include "core/phonefolders.h"

PhoneFolders& phoneFolders()
{
    static PhoneFolders folders;
    return folders;
}
