// The console line the module writes when a bind lacks a table, as the user
// reads it: every table the module needs, in the host's order.
#pragma once

namespace kit {

inline constexpr const char* missingTableText =
    "Assertion failed: t_C4DOS_Ge && t_C4DOS_Sh && t_C4DOS_Hf && t_C4DOS_Bc && t_C4DOS_St && t_C4DOS_Bm && "
    "t_C4DOS_Ms && t_C4DOS_Ba && t_C4DOS_Fn && t_C4DOS_Fl && t_C4DOS_Bf && t_C4DOS_Cd && t_C4DOS_Cu && t_C4DOS_Pr && "
    "t_C4DOS_Lr && t_C4DOS_Bl && t_C4DOS_Tg && t_C4DOS_Bo && t_C4DOS_Bd && t_C4DOS_Bt && t_C4DOS_Mt && t_C4DOS_Tx && "
    "t_C4DOS_Bs && t_C4DOS_Bu && t_C4DOS_Br && t_C4DOS_Bv && t_C4DOS_Nb && t_C4DOS_Pl && t_C4DOS_Fi && t_C4DOS_Pa && "
    "t_C4DOS_Ln && t_C4DOS_Gv && t_C4DOS_Gd && t_C4DOS_At && t_C4DOS_CA && t_C4DOS_Ne && t_C4DOS_FL";

}  // namespace kit
