# The groups page's form, the edit-group dialog's form and the panes the group dialogs share.
target_sources(ornelforms PRIVATE
    twndgroup.h twndgroup.cpp
    tdlgeditgroup.h tdlgeditgroup.cpp
    groupformparts.h groupformparts.cpp)
