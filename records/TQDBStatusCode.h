#pragma once

namespace TQLoad {

/// Result of the existence checks and conditional writes of the library records.
enum DBStatusCode : int
{
    DBS_Failed = 1,   ///< the lookup could not run, or the insert or update failed
    DBS_Exist = 2,    ///< a record with the same key exists (another one, for UpdateIfNoOther)
    DBS_Updated = 3,  ///< the record was written over its row
    DBS_Added = 4,    ///< the record was inserted as a new row
    DBS_NotExist = 6, ///< no row holds the key
};

} // namespace TQLoad
