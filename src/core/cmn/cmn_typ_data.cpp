// Static data of the type registry: the built-in types 512..811 and the
// object-type name table.
#include "core/cmn/cmn_typ_int.h"

namespace {

// Records laid out in longs and pointers; a registry size is the size of the
// record in this build.
constexpr long words(long n) { return n * static_cast<long>(sizeof(long)); }
struct value_rec {
  long type;
  long value;
};
struct name_value_rec {
  const char* name;
  value_rec value;
};
struct decimal_rec {
  char text[48];
  long precision;
  long scale;
};

}  // namespace

cmn_ty_obj_info cmn_classes[CMN_TYP_NUM_BUILTIN] = {
    {512, 0, 7, "long integer", static_cast<long>(sizeof(long)), nullptr, 0, 0},  // 512
    {513, 1, 7, "short integer", static_cast<long>(sizeof(short)), nullptr, 0, 0},  // 513
    {514, 2, 3, "float", static_cast<long>(sizeof(float)), nullptr, 0, 0},  // 514
    {515, 3, 1, "char", static_cast<long>(sizeof(char)), nullptr, 0, 0},  // 515
    {516, 4, 2, "char pointer", static_cast<long>(sizeof(char*)), nullptr, 0, 0},  // 516
    {517, 5, 1, "void pointer", static_cast<long>(sizeof(void*)), nullptr, 0, 0},  // 517
    {518, 300, 0, "collection header", static_cast<long>(sizeof(void*)), nullptr, 0, 0},  // 518
    {519, 301, 0, "pool header", static_cast<long>(sizeof(void*)), nullptr, 0, 0},  // 519
    {520, 302, 0, "pool extent header", static_cast<long>(sizeof(void*)), nullptr, 0, 0},  // 520
    {521, 303, 0, "pool data", static_cast<long>(sizeof(void*)), nullptr, 0, 0},  // 521
    {522, 304, 0, "estring header", static_cast<long>(sizeof(void*)), nullptr, 0, 0},  // 522
    {523, 0, 1, "schema", static_cast<long>(0), nullptr, 0, 0},  // 523
    {524, 0, 1, "field schema", static_cast<long>(0), nullptr, 0, 0},  // 524
    {525, 402, 1, "field schema", static_cast<long>(sizeof(short)), nullptr, 0, 0},  // 525
    {526, 0, 1, "callback table", static_cast<long>(0), nullptr, 0, 0},  // 526
    {527, 0, 1, "CMN alert message", static_cast<long>(0), nullptr, 0, 0},  // 527
    {528, 0, 1, "LOC string list", static_cast<long>(0), nullptr, 0, 0},  // 528
    {529, 0, 1, "REM control", static_cast<long>(0), nullptr, 0, 0},  // 529
    {530, 0, 1, "STATIC_TEXT", static_cast<long>(0), nullptr, 0, 0},  // 530
    {531, 0, 1, "ICON", static_cast<long>(0), nullptr, 0, 0},  // 531
    {532, 0, 1, "PICTURE", static_cast<long>(0), nullptr, 0, 0},  // 532
    {533, 0, 1, "EDIT_FIELD", static_cast<long>(0), nullptr, 0, 0},  // 533
    {534, 0, 1, "COMMAND_BUTTON", static_cast<long>(0), nullptr, 0, 0},  // 534
    {535, 0, 1, "RADIO_BUTTON", static_cast<long>(0), nullptr, 0, 0},  // 535
    {536, 0, 1, "CHECKBOX", static_cast<long>(0), nullptr, 0, 0},  // 536
    {537, 0, 1, "MENU_BUTTON", static_cast<long>(0), nullptr, 0, 0},  // 537
    {538, 0, 1, "SCROLLBAR", static_cast<long>(0), nullptr, 0, 0},  // 538
    {539, 0, 1, "LISTBOX", static_cast<long>(0), nullptr, 0, 0},  // 539
    {540, 0, 1, "GAUGE", static_cast<long>(0), nullptr, 0, 0},  // 540
    {541, 0, 1, "COMPLEX_FIELD", static_cast<long>(0), nullptr, 0, 0},  // 541
    {542, 0, 1, "DIALOG", static_cast<long>(0), nullptr, 0, 0},  // 542
    {543, 0, 1, "FIELD ARRAY", static_cast<long>(0), nullptr, 0, 0},  // 543
    {544, 0, 1, "Contextual object", static_cast<long>(0), nullptr, 0, 0},  // 544
    {545, 0, 1, "Radio button info", static_cast<long>(0), nullptr, 0, 0},  // 545
    {546, 0, 1, "Radio button item", static_cast<long>(0), nullptr, 0, 0},  // 546
    {547, 0, 1, "Menu Button Info", static_cast<long>(0), nullptr, 0, 0},  // 547
    {548, 0, 1, "Menu button item", static_cast<long>(0), nullptr, 0, 0},  // 548
    {549, 0, 1, "List Box Complex Field Info", static_cast<long>(0), nullptr, 0, 0},  // 549
    {550, 0, 1, "Dialog Information", static_cast<long>(0), nullptr, 0, 0},  // 550
    {551, 0, 1, "Gauge Info", static_cast<long>(0), nullptr, 0, 0},  // 551
    {552, 0, 1, "REM Window", static_cast<long>(0), nullptr, 0, 0},  // 552
    {553, 0, 1, "DRT Attribute", static_cast<long>(0), nullptr, 0, 0},  // 553
    {554, 0, 1, "REM Link", static_cast<long>(0), nullptr, 0, 0},  // 554
    {555, 0, 1, "DRT Progress Obj", static_cast<long>(0), nullptr, 0, 0},  // 555
    {556, 500, 1, "ADP Connection Structure", static_cast<long>(sizeof(void*)), nullptr, 0, 0},  // 556
    {557, 501, 1, "ADP Header Structure", static_cast<long>(sizeof(void*)), nullptr, 0, 0},  // 557
    {558, 0, 1, "DBS Local Object", static_cast<long>(0), nullptr, 0, 0},  // 558
    {559, 0, 1, "REM Edit Field Info", static_cast<long>(0), nullptr, 0, 0},  // 559
    {560, 0, 1, "DBG Error Trigger", static_cast<long>(0), nullptr, 0, 0},  // 560
    {561, 1, 1, "Test structure", static_cast<long>(words(4)), nullptr, 0, 0},  // 561
    {562, 0, 1, "DRT Test structure 1", static_cast<long>(0), nullptr, 0, 0},  // 562
    {563, 0, 1, "DRT Test structure 2", static_cast<long>(0), nullptr, 0, 0},  // 563
    {564, 0, 1, "DRT Test structure 3", static_cast<long>(0), nullptr, 0, 0},  // 564
    {565, 0, 1, "DRT Test structure 4", static_cast<long>(0), nullptr, 0, 0},  // 565
    {566, 0, 1, "REM Listbox complex field structure", static_cast<long>(0), nullptr, 0, 0},  // 566
    {567, 0, 1, "CVT Test structure 1", static_cast<long>(0), nullptr, 0, 0},  // 567
    {568, 0, 1, "CVT Test structure 2", static_cast<long>(0), nullptr, 0, 0},  // 568
    {569, 0, 1, "CVT Test structure 3", static_cast<long>(0), nullptr, 0, 0},  // 569
    {570, 0, 1, "CVT Test structure 4", static_cast<long>(0), nullptr, 0, 0},  // 570
    {571, 0, 1, "generic relation hdr", static_cast<long>(0), nullptr, 0, 0},  // 571
    {572, 0, 1, "specific relation map", static_cast<long>(0), nullptr, 0, 0},  // 572
    {573, 0, 1, "relation schema", static_cast<long>(0), nullptr, 0, 0},  // 573
    {574, 0, 1, "TYP rel_obj structure", static_cast<long>(0), nullptr, 0, 0},  // 574
    {575, 0, 1, "MAD Stub Window", static_cast<long>(0), nullptr, 0, 0},  // 575
    {576, 0, 1, "method structure", static_cast<long>(0), nullptr, 0, 0},  // 576
    {577, 0, 7, "relation", static_cast<long>(sizeof(long)), nullptr, 0, 0},  // 577
    {578, 0, 1, "MAD Journal Entry", static_cast<long>(0), nullptr, 0, 0},  // 578
    {579, 0, 1, "MAD Journal Dialog Map", static_cast<long>(0), nullptr, 0, 0},  // 579
    {580, 0, 1, "query condition", static_cast<long>(words(3)), nullptr, 0, 0},  // 580
    {581, 0, 1, "rels structure", static_cast<long>(0), nullptr, 0, 0},  // 581
    {582, 0, 1, "query order", static_cast<long>(words(2)), nullptr, 0, 0},  // 582
    {583, 0, 1, "Symbol", static_cast<long>(0), nullptr, 0, 0},  // 583
    {584, 0, 1, "Graphic Object", static_cast<long>(0), nullptr, 0, 0},  // 584
    {585, 0, 1, "Field Construction Object", static_cast<long>(0), nullptr, 0, 0},  // 585
    {586, 0, 1, "Query Expression", static_cast<long>(0), nullptr, 0, 0},  // 586
    {587, 0, 1, "Sfact reqd", static_cast<long>(0), nullptr, 0, 0},  // 587
    {588, 0, 1, "Ufct Reqd", static_cast<long>(0), nullptr, 0, 0},  // 588
    {589, 0, 1, "Wgrp reqd", static_cast<long>(0), nullptr, 0, 0},  // 589
    {590, 0, 1, "Query Expression", static_cast<long>(0), nullptr, 0, 0},  // 590
    {591, 0, 1, "Query Expression", static_cast<long>(0), nullptr, 0, 0},  // 591
    {592, 0, 1, "Query Expression", static_cast<long>(0), nullptr, 0, 0},  // 592
    {593, 0, 1, "Query Expression", static_cast<long>(0), nullptr, 0, 0},  // 593
    {594, 11, 1, "object id", static_cast<long>(words(3)), nullptr, 0, 0},  // 594
    {595, 0, 1, "Collection Summary", static_cast<long>(0), nullptr, 0, 0},  // 595
    {596, 0, 1, "Name Value Pair", static_cast<long>(sizeof(name_value_rec)), nullptr, 0, 0},  // 596
    {597, 0, 1, "Value", static_cast<long>(sizeof(value_rec)), nullptr, 0, 0},  // 597
    {598, 0, 1, "Collection", static_cast<long>(sizeof(void*)), nullptr, 0, 0},  // 598
    {599, 0, 1, "Object to Graphics Link", static_cast<long>(0), nullptr, 0, 0},  // 599
    {600, 0, 1, "Object to Graphics Type Registry", static_cast<long>(0), nullptr, 0, 0},  // 600
    {601, 0, 1, "Gen logic-edt info", static_cast<long>(0), nullptr, 0, 0},  // 601
    {602, 0, 1, "Gen logic-edt info", static_cast<long>(0), nullptr, 0, 0},  // 602
    {603, 0, 1, "and-term edit", static_cast<long>(0), nullptr, 0, 0},  // 603
    {604, 0, 1, "logic-desc edt ", static_cast<long>(0), nullptr, 0, 0},  // 604
    {605, 0, 1, "MAD application structure", static_cast<long>(0), nullptr, 0, 0},  // 605
    {606, 0, 1, "Object State Record", static_cast<long>(0), nullptr, 0, 0},  // 606
    {607, 0, 1, "Object State Object Record", static_cast<long>(0), nullptr, 0, 0},  // 607
    {608, 0, 1, "Object State Relation Record", static_cast<long>(0), nullptr, 0, 0},  // 608
    {609, 1400, 3, "clk_ty_time", static_cast<long>(0), nullptr, 0, 0},  // 609
    {610, 1401, 7, "elapsed time", static_cast<long>(0), nullptr, 0, 0},  // 610
    {611, 0, 1, "clk_elps_cmp", static_cast<long>(0), nullptr, 0, 0},  // 611
    {612, 0, 1, "OST Test Object", static_cast<long>(0), nullptr, 0, 0},  // 612
    {613, 0, 3, "double", static_cast<long>(sizeof(double)), nullptr, 0, 0},  // 613
    {614, 0, 3, "money", static_cast<long>(sizeof(double)), nullptr, 0, 0},  // 614
    {615, 0, 1, "long array", static_cast<long>(sizeof(long)), nullptr, 0, 0},  // 615
    {616, 0, 1, "cmn unused dtype 1", static_cast<long>(0), nullptr, 0, 0},  // 616
    {617, 0, 1, "memory allocation table", static_cast<long>(0), nullptr, 0, 0},  // 617
    {618, 0, 1, "Field array info", static_cast<long>(0), nullptr, 0, 0},  // 618
    {619, 0, 7, "activity code", static_cast<long>(sizeof(long)), nullptr, 0, 0},  // 619
    {620, 0, 1, "selection callback info struct", static_cast<long>(0), nullptr, 0, 0},  // 620
    {621, 0, 7, "condition code", static_cast<long>(sizeof(long)), nullptr, 0, 0},  // 621
    {622, 0, 1, "business days", static_cast<long>(0), nullptr, 0, 0},  // 622
    {623, 0, 1, "working hours", static_cast<long>(0), nullptr, 0, 0},  // 623
    {624, 0, 1, "rel alias structure", static_cast<long>(0), nullptr, 0, 0},  // 624
    {625, 0, 1, "name alias col structure", static_cast<long>(0), nullptr, 0, 0},  // 625
    {626, 0, 1, "format", static_cast<long>(0), nullptr, 0, 0},  // 626
    {627, 0, 1, "format argument", static_cast<long>(0), nullptr, 0, 0},  // 627
    {628, 0, 1, "sfs show struct", static_cast<long>(0), nullptr, 0, 0},  // 628
    {629, 0, 1, "wsf dialog control link", static_cast<long>(0), nullptr, 0, 0},  // 629
    {630, 0, 1, "name of object type", static_cast<long>(0), nullptr, 0, 0},  // 630
    {631, 0, 1, "admin phone number", static_cast<long>(0), nullptr, 0, 0},  // 631
    {632, 1211, 1, "Sfct Header Pointer", static_cast<long>(sizeof(void*)), nullptr, 0, 0},  // 632
    {633, 1212, 1, "Ufct Reqd Pointer", static_cast<long>(sizeof(void*)), nullptr, 0, 0},  // 633
    {634, 0, 1, "any object", static_cast<long>(sizeof(void*)), nullptr, 0, 0},  // 634
    {635, 0, 1, "List pager object", static_cast<long>(0), nullptr, 0, 0},  // 635
    {636, 1213, 1, "Finale Found Pointer", static_cast<long>(sizeof(void*)), nullptr, 0, 0},  // 636
    {637, 0, 1, "Queue Type", static_cast<long>(0), nullptr, 0, 0},  // 637
    {638, 0, 1, "Status Type", static_cast<long>(0), nullptr, 0, 0},  // 638
    {639, 0, 1, "Query Expression", static_cast<long>(0), nullptr, 0, 0},  // 639
    {640, 0, 1, "DE Import Object Info", static_cast<long>(0), nullptr, 0, 0},  // 640
    {641, 0, 1, "Icon Type", static_cast<long>(0), nullptr, 0, 0},  // 641
    {642, 0, 1, "Graphic Toolkit Journal Action", static_cast<long>(0), nullptr, 0, 0},  // 642
    {643, 0, 1, "Data Generator Object Clause", static_cast<long>(0), nullptr, 0, 0},  // 643
    {644, 0, 1, "Data Generator Field Value Clause", static_cast<long>(0), nullptr, 0, 0},  // 644
    {645, 0, 1, "Data Generator Relation Clause", static_cast<long>(0), nullptr, 0, 0},  // 645
    {646, 0, 1, "Expertise Type", static_cast<long>(0), nullptr, 0, 0},  // 646
    {647, 0, 1, "Data Generator Automatic Variables", static_cast<long>(0), nullptr, 0, 0},  // 647
    {648, 0, 1, "Location Type", static_cast<long>(0), nullptr, 0, 0},  // 648
    {649, 1805, 1, "Long Integer Pair", static_cast<long>(words(2)), nullptr, 0, 0},  // 649
    {650, 0, 1, "Querybox Info", static_cast<long>(0), nullptr, 0, 0},  // 650
    {651, 0, 1, "Internally Defined Action", static_cast<long>(0), nullptr, 0, 0},  // 651
    {652, 0, 1, "Schema Semantic Rule", static_cast<long>(0), nullptr, 0, 0},  // 652
    {653, 0, 1, "Date only display", static_cast<long>(0), nullptr, 0, 0},  // 653
    {654, 0, 1, "Import/Export Directive", static_cast<long>(0), nullptr, 0, 0},  // 654
    {655, 0, 1, "Request Type", static_cast<long>(0), nullptr, 0, 0},  // 655
    {656, 0, 1, "Authorization Type", static_cast<long>(0), nullptr, 0, 0},  // 656
    {657, 0, 1, "Owner Type", static_cast<long>(0), nullptr, 0, 0},  // 657
    {658, 0, 1, "Inventory Type", static_cast<long>(0), nullptr, 0, 0},  // 658
    {659, 0, 1, "Price Program Type", static_cast<long>(0), nullptr, 0, 0},  // 659
    {660, 0, 1, "Yes and No", static_cast<long>(0), nullptr, 0, 0},  // 660
    {661, 0, 1, "Contact Info", static_cast<long>(0), nullptr, 0, 0},  // 661
    {662, 0, 1, "Install Product", static_cast<long>(0), nullptr, 0, 0},  // 662
    {663, 0, 1, "Trend Status", static_cast<long>(0), nullptr, 0, 0},  // 663
    {664, 0, 1, "Receipt Type", static_cast<long>(0), nullptr, 0, 0},  // 664
    {665, 0, 1, "Object Preamble", static_cast<long>(0), nullptr, 0, 0},  // 665
    {666, 0, 1, "Movement Type", static_cast<long>(0), nullptr, 0, 0},  // 666
    {667, 0, 1, "From Side", static_cast<long>(0), nullptr, 0, 0},  // 667
    {668, 0, 1, "To Side", static_cast<long>(0), nullptr, 0, 0},  // 668
    {669, 0, 1, "Owner Type", static_cast<long>(0), nullptr, 0, 0},  // 669
    {573, 0, 1, "Object Relation", static_cast<long>(0), nullptr, 0, 0},  // 670
    {671, 0, 1, "Code Identifier", static_cast<long>(0), nullptr, 0, 0},  // 671
    {672, 0, 1, "Request Title", static_cast<long>(0), nullptr, 0, 0},  // 672
    {673, 0, 1, "Receive Problem Status", static_cast<long>(0), nullptr, 0, 0},  // 673
    {674, 0, 1, "Contact Type Info", static_cast<long>(0), nullptr, 0, 0},  // 674
    {675, 0, 1, "Configuration Info", static_cast<long>(0), nullptr, 0, 0},  // 675
    {676, 0, 1, "Work Hour", static_cast<long>(0), nullptr, 0, 0},  // 676
    {677, 0, 1, "Time Zoned CLK Time Display", static_cast<long>(0), nullptr, 0, 0},  // 677
    {678, 0, 1, "Contextual Object", static_cast<long>(0), nullptr, 0, 0},  // 678
    {679, 0, 1, "Dependency Element", static_cast<long>(0), nullptr, 0, 0},  // 679
    {680, 0, 1, "Dependency Graph", static_cast<long>(0), nullptr, 0, 0},  // 680
    {681, 0, 1, "Listbox Select list", static_cast<long>(0), nullptr, 0, 0},  // 681
    {682, 0, 1, "Business Rule Index Structure", static_cast<long>(0), nullptr, 0, 0},  // 682
    {683, 0, 1, "Business Rule Condition Structure", static_cast<long>(0), nullptr, 0, 0},  // 683
    {684, 0, 1, "Business Rule Object Cache", static_cast<long>(0), nullptr, 0, 0},  // 684
    {685, 2700, 1, "DBS Power Query Condition", static_cast<long>(words(3)), nullptr, 0, 0},  // 685
    {686, 0, 1, "Hierarchical Popup List Item", static_cast<long>(0), nullptr, 0, 0},  // 686
    {687, 0, 1, "Hierarchical Popup List Info", static_cast<long>(0), nullptr, 0, 0},  // 687
    {688, 0, 1, "Property to Path Mapping", static_cast<long>(words(7)), nullptr, 0, 0},  // 688
    {689, 0, 1, "Long Integer Triple", static_cast<long>(words(6)), nullptr, 0, 0},  // 689
    {690, 0, 1, "Operator Type", static_cast<long>(0), nullptr, 0, 0},  // 690
    {691, 0, 1, "Employee Notification Cache", static_cast<long>(0), nullptr, 0, 0},  // 691
    {692, 0, 1, "Elapsed Time in Hours/Minutes", static_cast<long>(0), nullptr, 0, 0},  // 692
    {693, 0, 1, "Time Type", static_cast<long>(0), nullptr, 0, 0},  // 693
    {694, 0, 1, "Business Rule Structure", static_cast<long>(0), nullptr, 0, 0},  // 694
    {695, 0, 1, "End Work Hour", static_cast<long>(0), nullptr, 0, 0},  // 695
    {696, 0, 1, "OST Object Traversal Struct", static_cast<long>(0), nullptr, 0, 0},  // 696
    {697, 0, 1, "UTL Hash Table Head", static_cast<long>(0), nullptr, 0, 0},  // 697
    {698, 0, 1, "Clock Time with Infinity", static_cast<long>(0), nullptr, 0, 0},  // 698
    {699, 0, 1, "Reference Checking Structure", static_cast<long>(0), nullptr, 0, 0},  // 699
    {700, 0, 1, "Demand Type", static_cast<long>(0), nullptr, 0, 0},  // 700
    {701, 0, 1, "ADP Table Change Record", static_cast<long>(0), nullptr, 0, 0},  // 701
    {702, 0, 1, "Schema Diff Record", static_cast<long>(0), nullptr, 0, 0},  // 702
    {703, 0, 1, "Object Cache Entry", static_cast<long>(0), nullptr, 0, 0},  // 703
    {704, 0, 1, "OST Rel Community Trav Map Entry", static_cast<long>(words(8)), nullptr, 0, 0},  // 704
    {705, 0, 1, "Employee Type", static_cast<long>(0), nullptr, 0, 0},  // 705
    {706, 0, 1, "OST Permanent Relation", static_cast<long>(0), nullptr, 0, 0},  // 706
    {707, 0, 1, "ADP tbl name map", static_cast<long>(0), nullptr, 0, 0},  // 707
    {708, 0, 1, "ADP sch info", static_cast<long>(0), nullptr, 0, 0},  // 708
    {709, 0, 1, "ADP sch rel info", static_cast<long>(0), nullptr, 0, 0},  // 709
    {710, 0, 1, "ADP view field info", static_cast<long>(0), nullptr, 0, 0},  // 710
    {711, 0, 1, "ADP view join info", static_cast<long>(0), nullptr, 0, 0},  // 711
    {712, 0, 1, "ADP sch index", static_cast<long>(0), nullptr, 0, 0},  // 712
    {713, 0, 1, "Data Exchange MTM Cache", static_cast<long>(0), nullptr, 0, 0},  // 713
    {714, 0, 1, "Dialog Cache Block Info", static_cast<long>(0), nullptr, 0, 0},  // 714
    {715, 0, 1, "Dialog Cache Header", static_cast<long>(0), nullptr, 0, 0},  // 715
    {716, 0, 1, "Cache CTL Info for BTN ACT", static_cast<long>(0), nullptr, 0, 0},  // 716
    {717, 0, 1, "Cache BTN OBJ for BTN ACT", static_cast<long>(0), nullptr, 0, 0},  // 717
    {718, 0, 1, "DRT Window Template for XVT", static_cast<long>(0), nullptr, 0, 0},  // 718
    {719, 0, 1, "Field Array Column Info", static_cast<long>(0), nullptr, 0, 0},  // 719
    {720, 0, 1, "VB Code Tuple", static_cast<long>(0), nullptr, 0, 0},  // 720
    {721, 0, 1, "VB Code Argument", static_cast<long>(0), nullptr, 0, 0},  // 721
    {722, 0, 1, "VB Function", static_cast<long>(0), nullptr, 0, 0},  // 722
    {723, 0, 1, "VB Type Member", static_cast<long>(0), nullptr, 0, 0},  // 723
    {724, 0, 1, "VB User-defined Type", static_cast<long>(0), nullptr, 0, 0},  // 724
    {725, 0, 1, "VB Class Method", static_cast<long>(0), nullptr, 0, 0},  // 725
    {726, 0, 1, "VB Formal Parameter", static_cast<long>(0), nullptr, 0, 0},  // 726
    {727, 0, 1, "Icon Button Specs", static_cast<long>(0), nullptr, 0, 0},  // 727
    {728, 0, 1, "Context. Object Info", static_cast<long>(0), nullptr, 0, 0},  // 728
    {729, 0, 1, "Runtime Datatype Definition", static_cast<long>(0), nullptr, 0, 0},  // 729
    {730, 0, 1, "Runtime Datatype Field Definition", static_cast<long>(0), nullptr, 0, 0},  // 730
    {731, 0, 1, "Search Control Data Structure", static_cast<long>(0), nullptr, 0, 0},  // 731
    {732, 0, 1, "Button action type", static_cast<long>(0), nullptr, 0, 0},  // 732
    {733, 0, 1, "Button action mode", static_cast<long>(0), nullptr, 0, 0},  // 733
    {734, 0, 1, "Radiobutton group info for DGN", static_cast<long>(0), nullptr, 0, 0},  // 734
    {735, 0, 1, "OID Pair", static_cast<long>(words(6)), nullptr, 0, 0},  // 735
    {736, 0, 1, "XVT MENU_ITEM", static_cast<long>(0), nullptr, 0, 0},  // 736
    {737, 0, 1, "Function Mapping", static_cast<long>(0), nullptr, 0, 0},  // 737
    {738, 0, 1, "Long Integer Dozen", static_cast<long>(words(12)), nullptr, 0, 0},  // 738
    {739, 0, 1, "Basic Object Reference", static_cast<long>(0), nullptr, 0, 0},  // 739
    {740, 0, 1, "Basic Object to Object Handle Map", static_cast<long>(0), nullptr, 0, 0},  // 740
    {741, 0, 1, "Basic Object type intrinsics", static_cast<long>(0), nullptr, 0, 0},  // 741
    {742, 0, 1, "Tab button", static_cast<long>(0), nullptr, 0, 0},  // 742
    {743, 0, 1, "Tab button info", static_cast<long>(0), nullptr, 0, 0},  // 743
    {744, 0, 1, "Tab button item", static_cast<long>(0), nullptr, 0, 0},  // 744
    {745, 0, 1, "Tabbutton group info for DGN", static_cast<long>(0), nullptr, 0, 0},  // 745
    {746, 0, 1, "Boolean", static_cast<long>(0), nullptr, 0, 0},  // 746
    {747, 0, 1, "Color map for color scheme", static_cast<long>(0), nullptr, 0, 0},  // 747
    {748, 0, 1, "Color scheme table", static_cast<long>(0), nullptr, 0, 0},  // 748
    {749, 0, 1, "Orbisan Basic menu map", static_cast<long>(0), nullptr, 0, 0},  // 749
    {750, 0, 1, "Orbisan Basic variable", static_cast<long>(0), nullptr, 0, 0},  // 750
    {751, 0, 1, "DB Tiny Integer", static_cast<long>(0), nullptr, 0, 0},  // 751
    {752, 0, 1, "Orbisan Basic array", static_cast<long>(0), nullptr, 0, 0},  // 752
    {753, 0, 1, "Orbisan Basic array dimension", static_cast<long>(0), nullptr, 0, 0},  // 753
    {754, 0, 1, "Orbisan Basic NULL datatype", static_cast<long>(0), nullptr, 0, 0},  // 754
    {755, 0, 1, "Orbisan Basic uninitialized datatype", static_cast<long>(0), nullptr, 0, 0},  // 755
    {756, 0, 1, "Orbisan Basic currency datatype", static_cast<long>(0), nullptr, 0, 0},  // 756
    {757, 0, 1, "DB Small Integer", static_cast<long>(0), nullptr, 0, 0},  // 757
    {758, 0, 1, "ADP Index Struct", static_cast<long>(0), nullptr, 0, 0},  // 758
    {759, 0, 1, "GSE Status TYPE", static_cast<long>(0), nullptr, 0, 0},  // 759
    {760, 0, 1, "CBX Attr Type", static_cast<long>(0), nullptr, 0, 0},  // 760
    {761, 0, 1, "CBX Ctl Type", static_cast<long>(0), nullptr, 0, 0},  // 761
    {762, 0, 1, "CBX Info Type", static_cast<long>(0), nullptr, 0, 0},  // 762
    {763, 0, 1, "Fty Mgr Struct", static_cast<long>(0), nullptr, 0, 0},  // 763
    {764, 0, 1, "ADP Type Structure", static_cast<long>(0), nullptr, 0, 0},  // 764
    {765, 0, 1, "Fty Rel Struct", static_cast<long>(0), nullptr, 0, 0},  // 765
    {766, 6, 3, "decimal", static_cast<long>(sizeof(decimal_rec)), nullptr, 0, 0},  // 766
    {767, 0, 1, "SCE Name Value Pair", static_cast<long>(0), nullptr, 0, 0},  // 767
    {768, 0, 1, "Filter", static_cast<long>(0), nullptr, 0, 0},  // 768
    {769, 0, 1, "rem_ty_db_ctrl_info struct", static_cast<long>(0), nullptr, 0, 0},  // 769
    {770, 0, 1, "rem_ty_db_item_info struct", static_cast<long>(0), nullptr, 0, 0},  // 770
    {771, 0, 1, "Filter Set", static_cast<long>(0), nullptr, 0, 0},  // 771
    {772, 0, 1, "ADP Value Bind Record", static_cast<long>(0), nullptr, 0, 0},  // 772
    {773, 0, 1, "Group Box", static_cast<long>(0), nullptr, 0, 0},  // 773
    {774, 0, 1, "Group Box Info", static_cast<long>(0), nullptr, 0, 0},  // 774
    {775, 0, 1, "Line", static_cast<long>(0), nullptr, 0, 0},  // 775
    {776, 0, 1, "Line Info", static_cast<long>(0), nullptr, 0, 0},  // 776
    {777, 0, 1, "OCX", static_cast<long>(0), nullptr, 0, 0},  // 777
    {778, 0, 1, "OCX Info", static_cast<long>(0), nullptr, 0, 0},  // 778
    {779, 0, 1, "OCX item", static_cast<long>(0), nullptr, 0, 0},  // 779
    {780, 0, 1, "OLE object", static_cast<long>(0), nullptr, 0, 0},  // 780
    {781, 0, 1, "Context menu item", static_cast<long>(0), nullptr, 0, 0},  // 781
    {782, 0, 1, "Graph", static_cast<long>(0), nullptr, 0, 0},  // 782
    {783, 0, 1, "Graph Info", static_cast<long>(0), nullptr, 0, 0},  // 783
    {784, 0, 1, "Graph item", static_cast<long>(0), nullptr, 0, 0},  // 784
    {785, 0, 1, "Spinbutton", static_cast<long>(0), nullptr, 0, 0},  // 785
    {786, 0, 1, "Spinbutton Info", static_cast<long>(0), nullptr, 0, 0},  // 786
    {787, 0, 1, "Progressbar", static_cast<long>(0), nullptr, 0, 0},  // 787
    {788, 0, 1, "Progressbar Info", static_cast<long>(0), nullptr, 0, 0},  // 788
    {789, 0, 1, "Slider", static_cast<long>(0), nullptr, 0, 0},  // 789
    {790, 0, 1, "Slider Info", static_cast<long>(0), nullptr, 0, 0},  // 790
    {791, 0, 1, "Animation control", static_cast<long>(0), nullptr, 0, 0},  // 791
    {792, 0, 1, "Tree", static_cast<long>(0), nullptr, 0, 0},  // 792
    {793, 0, 1, "Tree Info", static_cast<long>(0), nullptr, 0, 0},  // 793
    {794, 0, 1, "Bind Info", static_cast<long>(words(3)), nullptr, 0, 0},  // 794
    {795, 0, 1, "Update cond", static_cast<long>(0), nullptr, 0, 0},  // 795
    {796, 0, 1, "PI Type", static_cast<long>(0), nullptr, 0, 0},  // 796
    {797, 0, 1, "BIN Type", static_cast<long>(0), nullptr, 0, 0},  // 797
    {798, 0, 1, "Opened ind", static_cast<long>(0), nullptr, 0, 0},  // 798
    {799, 0, 1, "ECobj", static_cast<long>(0), nullptr, 0, 0},  // 799
    {800, 0, 1, "MCobj", static_cast<long>(0), nullptr, 0, 0},  // 800
    {801, 0, 1, "StaticText info", static_cast<long>(0), nullptr, 0, 0},  // 801
    {802, 0, 1, "Animation Control info", static_cast<long>(0), nullptr, 0, 0},  // 802
    {803, 0, 1, "Direction", static_cast<long>(0), nullptr, 0, 0},  // 803
    {804, 0, 1, "Delivery Status", static_cast<long>(0), nullptr, 0, 0},  // 804
    {805, 0, 1, "Action Type", static_cast<long>(0), nullptr, 0, 0},  // 805
    {806, 0, 1, "Property Type", static_cast<long>(0), nullptr, 0, 0},  // 806
    {807, 0, 1, "Property Subtype", static_cast<long>(0), nullptr, 0, 0},  // 807
    {808, 0, 1, "Config Item Type", static_cast<long>(0), nullptr, 0, 0},  // 808
    {809, 0, 1, "Config Item Scope", static_cast<long>(0), nullptr, 0, 0},  // 809
    {810, 0, 1, "Script Parameter Type", static_cast<long>(0), nullptr, 0, 0},  // 810
    {811, 0, 1, "Configurator Role Type", static_cast<long>(0), nullptr, 0, 0},  // 811
};

// Object type id and the alert code of its name in the cmn list. An id may
// appear more than once; the first row whose text is found wins.
const cmn_ty_name_row cmn_name_table[CMN_TYP_NUM_NAMES] = {
    {0, 0x100025},  // "Case"
    {1, 0x100026},  // "Solution"
    {2, 0x100027},  // "WorkAround"
    {3, 0x100028},  // "Shipment Summary"
    {4, 0x100029},  // "Queue"
    {5, 0x10002a},  // "WIPbin"
    {7, 0x10002b},  // "Categories"
    {8, 0x10002c},  // "Category"
    {9, 0x10002d},  // "KeyPhrases"
    {11, 0x10002e},  // "Product Categories"
    {12, 0x10002e},  // "Product Categories"
    {13, 0x10002f},  // "Product KeyPhrases"
    {14, 0x100030},  // "Diagnostic Hint"
    {15, 0x100031},  // "Product Instance"
    {16, 0x100032},  // "Product Configuration"
    {18, 0x100033},  // "Program Logic"
    {19, 0x100034},  // "Transaction Summary"
    {20, 0x100035},  // "User"
    {21, 0x100036},  // "Activity"
    {22, 0x100037},  // "Return Message"
    {23, 0x100038},  // "Receiving Summary"
    {24, 0x100039},  // "Subcase"
    {25, 0x10003a},  // "Shipping Request"
    {26, 0x10003b},  // "Dispatch FE"
    {27, 0x10003c},  // "Notes"
    {28, 0x10003d},  // "Conversation Log"
    {29, 0x10003e},  // "Research Time"
    {30, 0x10003f},  // "Commitment"
    {31, 0x100040},  // "Fulfillment"
    {32, 0x100041},  // "Onsite Log"
    {33, 0x100042},  // "Privilege Class"
    {36, 0x100043},  // "State"
    {40, 0x100044},  // "Receive Parts"
    {44, 0x100045},  // "Employee"
    {45, 0x100046},  // "Contact"
    {46, 0x100047},  // "Group"
    {47, 0x100048},  // "Address"
    {49, 0x100049},  // "Part Request Detail"
    {51, 0x10004a},  // "Monitor"
    {52, 0x10004b},  // "Site"
    {56, 0x100025},  // "Case"
    {57, 0x100039},  // "Subcase"
    {58, 0x10004c},  // "RQST"
    {59, 0x100025},  // "Case"
    {60, 0x100039},  // "Subcase"
    {61, 0x10004c},  // "RQST"
    {86, 0x10004d},  // "Quote/Contract/Order"
    {109, 0x10004e},  // " Product Bin"
    {111, 0x10004f},  // " Catalog"
    {115, 0x100050},  // "Close Case"
    {123, 0x100051},  // "Number Scheme"
    {126, 0x100052},  // "Time Zone"
    {145, 0x100053},  // "Service Interrupt Log"
    {159, 0x100025},  // "Case"
    {160, 0x100039},  // "Subcase"
    {164, 0x100026},  // "Solution"
    {165, 0x100054},  // "SOLN"
    {184, 0x100030},  // "Diagnostic Hint"
    {192, 0x100055},  // "Change Request"
    {193, 0x100056},  // "Module for Bug"
    {194, 0x100057},  // "Close Bug"
    {203, 0x100058},  // "Query"
    {236, 0x100059},  // "Query Group"
    {256, 0x10005a},  // "Calendar"
    {286, 0x10005b},  // "Business Calendar"
    {328, 0x10005c},  // "Part No"
    {329, 0x10005d},  // "Revision"
    {330, 0x10005e},  // "Part Class"
    {331, 0x10005f},  // "Domain"
    {332, 0x10005c},  // "Part No"
    {35, 0x100060},  // "WIPbin List"
    {48, 0x100061},  // "Part Request"
    {77, 0x100062},  // "Time Bomb"
    {96, 0x100054},  // "SOLN"
    {97, 0x100054},  // "SOLN"
    {158, 0x100025},  // "Case"
    {162, 0x100063},  // "Dfe"
    {195, 0x100066},  // "CR"
    {196, 0x100066},  // "CR"
    {198, 0x100066},  // "CR"
    {200, 0x100067},  // "REPORT"
    {201, 0x100068},  // "REPORT PARAM"
    {202, 0x100069},  // "REPORT OUTPUT"
    {219, 0x10006a},  // "RULE"
    {220, 0x10006b},  // "Return Info"
    {221, 0x10006c},  // "Repair Summary"
    {239, 0x10006d},  // "Logistics Part"
    {242, 0x10006e},  // "Parts at Logistics locations"
    {243, 0x10006f},  // "Inventory Bin"
    {244, 0x100070},  // "Part Transaction Record"
    {245, 0x100071},  // "Receiving Problem"
    {249, 0x100072},  // "Queue CC"
    {250, 0x100073},  // "FICS Header"
    {252, 0x100074},  // "FICS Detail"
    {254, 0x100075},  // "FCS Used"
    {257, 0x100076},  // "Work Hour"
    {259, 0x100077},  // "Schedule"
    {260, 0x100078},  // "Appointment"
    {261, 0x100079},  // "Variable Value"
    {270, 0x10007a},  // "Contact Role"
    {271, 0x10007b},  // "ASAF Result"
    {273, 0x10007c},  // "rpn"
    {276, 0x10007d},  // "Inventory Part Search"
    {279, 0x10007e},  // "List DFE of subcase"
    {282, 0x10007f},  // "Modem"
    {284, 0x100080},  // "Holiday"
    {287, 0x100081},  // "Business Rule Condition"
    {290, 0x100082},  // "Part Quantity"
    {294, 0x100083},  // "Property Name"
    {299, 0x100084},  // "ASAF REPORT"
    {300, 0x100085},  // "State Transition"
    {303, 0x100086},  // "Case Security"
    {305, 0x100087},  // "License Count"
    {306, 0x100088},  // "Part Used"
    {317, 0x100089},  // "Field"
    {318, 0x10008a},  // "Menu Bar"
    {319, 0x10008b},  // "Menu Item"
    {320, 0x10008c},  // "Readonly"
    {324, 0x10008d},  // "Schema Revision"
    {334, 0x10008e},  // "License Tracking"
    {335, 0x10008f},  // "Mod Level"
    {336, 0x10005c},  // "Part No"
    {337, 0x100090},  // "Part"
    {338, 0x100091},  // "geometric data"
    {341, 0x100092},  // "User case load"
    {342, 0x100093},  // "Find child site"
    {356, 0x100094},  // "FTS Result"
    {357, 0x100095},  // "Time Log"
    {365, 0x100096},  // "Keyword Text"
    {378, 0x100039},  // "Subcase"
    {379, 0x100097},  // "Commit-Case"
    {380, 0x100098},  // "Commit-Subc"
    {385, 0x100099},  // "Activity rule name"
    {391, 0x10009a},  // "Queued case DFE"
    {392, 0x10009b},  // "Queued subcase DFE"
    {393, 0x10009c},  // "Case DFE"
    {394, 0x10009d},  // "Subcase DFE"
    {400, 0x10009e},  // "WebSupport User"
    {401, 0x10009f},  // "WebSupport Log"
    {228, 0x1000a0},  // "Account or Location"
    {5037, 0x10004d},  // "Quote/Contract/Order"
    {5038, 0x10004d},  // "Quote/Contract/Order"
    {5000, 0x1000a1},  // "Opportunity"
    {5039, 0x1000a1},  // "Opportunity"
    {5044, 0x1000a1},  // "Opportunity"
    {5080, 0x1000a2},  // "Action Item"
    {5087, 0x1000a2},  // "Action Item"
    {5088, 0x1000a2},  // "Action Item"
    {5174, 0x1000a3},  // "Count Setup"
    {5200, 0x1000a4},  // "Dialogue"
    {5206, 0x1000a5},  // "Medium"
    {5207, 0x1000a8},  // "Channel"
    {5208, 0x1000a9},  // "Communication"
    {5319, 0x1000a4},  // "Dialogue"
    {5329, 0x1000a4},  // "Dialogue"
    {173, 0x1000aa},  // "Bus_org"
    {5140, 0x1000c2},  // "Exchange"
    {5312, 0x1000c3},  // "Lead"
};
