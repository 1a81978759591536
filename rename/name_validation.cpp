#include "rename/name_validation.h"

#include "rename/name_rules.h"

int FindInvalidNamePart(const NamePattern* pattern)
{
    if (pattern->extensionMode == Specified && FindForbiddenChar(pattern->replacementExtension) >= 0)
        return PartExtension;
    if (FindForbiddenChar(pattern->prefix) >= 0) return PartPrefix;
    if (FindForbiddenChar(pattern->suffix) >= 0) return PartSuffix;
    return PartNone;
}
