#include "editing/production_file.h"

#include "platform/files.h"

namespace plv::editing {

bool isOpenUserFile(Session& s) {
    return s.dragon && files::samePathNoCase(s.dragon->currentUserCommandFile(), s.file.path);
}

} // namespace plv::editing
