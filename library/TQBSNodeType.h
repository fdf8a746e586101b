#pragma once

namespace TQLoad {

/// Kind of a node in the construction and material trees. The numbers are fixed: the dialogs
/// branch on them.
enum EBSNodeType : int
{
    BSN_Label = 0,         ///< a root or a heading
    BSN_Province = 1,      ///< a province record
    BSN_BSCategory = 2,    ///< a construction category
    BSN_BSType = 3,        ///< a construction type
    BSN_TimberingType = 6, ///< a material type
    BSN_Timbering = 7,     ///< a material
};

} // namespace TQLoad
