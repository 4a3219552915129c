# The groups page's form, the edit-group dialog's form, the add-group wizard's form (on the
# wizard base) and the panes the two group dialogs share; their icons come from
# resources/images/.
target_sources(ornelforms PRIVATE
    twndgroup.h twndgroup.cpp
    tdlgeditgroup.h tdlgeditgroup.cpp
    twizaddgroup.h twizaddgroup.cpp
    groupformparts.h groupformparts.cpp)
