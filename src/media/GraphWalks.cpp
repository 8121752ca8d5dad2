#include "GraphWalks.h"

#include "platform/graph/Graph.h"

namespace
{

// Breaks the connection of `pin` at both ends and returns the filter on the other end.
Filter &Unhook(Pin &pin)
{
    Pin &peer = *pin.ConnectedTo();
    peer.Disconnect();
    pin.Disconnect();
    return peer.Owner();
}

bool IsConnectedInput(const Pin *pin)
{
    return pin->Direction() == PINDIR_INPUT && pin->IsConnected();
}

} // namespace

bool IsDownstreamOf(Filter *a, Filter *b)
{
    if (!a)
        return false;
    for (Pin *pin : a->Pins()) {
        if (!IsConnectedInput(pin))
            continue;
        Filter *feeder = &pin->ConnectedTo()->Owner();
        if (feeder == b || IsDownstreamOf(feeder, b))
            return true;
    }
    return false;
}

bool RemoveChainBetween(Filter *downstream, Filter *upstream, Graph &graph)
{
    if (downstream == upstream || !IsDownstreamOf(downstream, upstream))
        return true;
    for (Pin *pin : downstream->Pins()) {
        if (!IsConnectedInput(pin))
            continue;
        Filter &feeder = Unhook(*pin);
        if (&feeder == upstream)
            return true;
        if (!IsDownstreamOf(&feeder, upstream))
            continue;
        RemoveChainBetween(&feeder, upstream, graph);
        if (FAILED(graph.RemoveFilter(feeder)))
            return true;
    }
    return true;
}

bool RemoveBetween(Filter *downstream, Filter *upstream, Graph &graph)
{
    if (downstream == upstream)
        return true;
    for (Pin *pin : downstream->Pins()) {
        if (!IsConnectedInput(pin))
            continue;
        Filter &feeder = Unhook(*pin);
        if (&feeder == upstream)
            return true;
        RemoveBetween(&feeder, upstream, graph);
        graph.RemoveFilter(feeder);
    }
    for (Pin *pin : upstream->Pins()) {
        if (pin->Direction() != PINDIR_OUTPUT || !pin->IsConnected())
            continue;
        Filter &receiver = Unhook(*pin);
        if (&receiver == downstream)
            return true;
        RemoveBetween(downstream, &receiver, graph);
        graph.RemoveFilter(receiver);
    }
    return true;
}
