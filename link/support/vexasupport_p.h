#pragma once

// Internals of the support library that its own tests reach: how threads are
// created (so a refusal by the system can be simulated) and where thread
// numbering stands (so the counter's wrap can be reached in a test).

#include <pthread.h>

typedef int (*vexa_thread_create_fn)(pthread_t *thread, const pthread_attr_t *attributes,
                                     void *(*routine)(void *), void *argument);

// Replaces pthread_create for createthread; null restores it.
void vexa_set_thread_create(vexa_thread_create_fn create);

// Sets the number the next createthread gives out (0 is skipped).
void vexa_set_next_thread_number(unsigned int number);

// The recursive attribute behind __vexa_def_mutex, set up on first use from any
// thread (static construction order across files does not matter).
const pthread_mutexattr_t *vexa_default_mutex_attr();
