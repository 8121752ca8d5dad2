#pragma once

class Filter;
class Graph;

// Walks over the connections of a graph, from a renderer (downstream) back to a stream's
// notifier (upstream). UI thread, graph stopped.

// True when `b` feeds `a` through connected input pins, directly or through other filters.
bool IsDownstreamOf(Filter *a, Filter *b);

// Takes out every filter hanging on the inputs of `downstream` up to `upstream` and every filter
// hanging on the outputs of `upstream` down to `downstream`; those two stay in the graph,
// disconnected.
bool RemoveBetween(Filter *downstream, Filter *upstream, Graph &graph);

// Follows only the inputs of `downstream`, and only through filters that lie downstream of
// `upstream`, removing them.
bool RemoveChainBetween(Filter *downstream, Filter *upstream, Graph &graph);
