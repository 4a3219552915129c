# The user templates page and its edit dialog, with their forms, and the web-mail fields
# that the user and template dialogs share. The forms join the
# form library, whose folder holds them, from here, so that this block stays the
# templates' own.
target_sources(ornelaccounts PRIVATE
    wndtemplate.h wndtemplate.cpp
    dlgedittemplate.h dlgedittemplate.cpp
    webmailfields.h webmailfields.cpp)

set(templates_forms ${PROJECT_SOURCE_DIR}/forms)
target_sources(ornelforms PRIVATE
    ${templates_forms}/twndtemplate.h ${templates_forms}/twndtemplate.cpp
    ${templates_forms}/tdlgedittemplate.h ${templates_forms}/tdlgedittemplate.cpp)
