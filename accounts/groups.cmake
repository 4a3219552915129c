# The groups page with its edit dialog, its add wizard and the membership lists of the
# groups it touches.
target_sources(ornelaccounts PRIVATE
    wndgroup.h wndgroup.cpp
    dlgeditgroup.h dlgeditgroup.cpp
    wizaddgroup.h wizaddgroup.cpp
    groupmembers.h groupmembers.cpp
    dbuserlist.h dbuserlist.cpp
    grouplistitem.h grouplistitem.cpp
    rightschoice.h rightschoice.cpp
    # The domain box; the users page shares it.
    domainchoice.h domainchoice.cpp)

# Joins the page table with the users page's registration (users.cmake).
target_sources(ornelaccountpages PRIVATE grouppages.cpp)
