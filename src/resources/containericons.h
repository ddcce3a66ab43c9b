#pragma once
// Icons of resource containers: one per icon group of a module, or as a resource file imports.

#include <string>

#include "base/mappedfile.h"
#include "resources/iconlist.h"
#include "resources/resourcedetails.h"

namespace varnel {

// The icon of one icon-group record ("14"), or the cursor (a TAdvancedCursor whose images keep
// their hotspots) of a cursor-group record ("12"); a damaged group gives the images read before
// the damage.
std::unique_ptr<TAdvancedIcon> LoadGroupIcon(TResourceModule& module, TResourceDetails& record);

// Appends one icon per icon-group record ("14"), then one cursor per cursor-group record
// ("12"), each kind in container order and named by its group; a group whose images are all
// missing gives an empty icon.
void AppendGroupIcons(TResourceModule& module, TIconList& list);

// The icons of a PE module (its icon groups, then its cursor groups) or a .res/.dcr file (as
// ImportResourceFile names them). Raises EPEException for a damaged module and Exception for files
// of other kinds.
void ReadContainerIcons(const std::string& fileName, TIconList& list);
void ReadContainerIcons(const SharedFile& file, TIconList& list);

}  // namespace varnel
