/* The identifiers the sample's resource script and its code share. */
#ifndef SKINSAMPLE_IDS_H
#define SKINSAMPLE_IDS_H

#define IDR_SAMPLEMENU 100
#define IDR_SAMPLEKEYS 101
#define IDD_CONTROLS 200

#define IDM_DIALOG 1001
#define IDM_POPUP 1002
#define IDM_EXIT 1003
#define IDM_ABOUT 1004

#define IDC_PUSH 2001
#define IDC_CHECK 2002
#define IDC_RADIO1 2003
#define IDC_RADIO2 2004
#define IDC_GROUP 2005
#define IDC_EDIT 2006
#define IDC_MEMO 2007
#define IDC_COMBO 2008
#define IDC_LIST 2009
#define IDC_LISTVIEW 2010
#define IDC_TAB 2011
#define IDC_TRACK 2012
#define IDC_PROGRESS 2013
#define IDC_UPDOWN 2014
#define IDC_DATE 2015
#define IDC_BUDDY 2016

#endif
